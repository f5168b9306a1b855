-- wrk script for the web catalogue's load figure: each request a keyword search for a
-- different title of the big library ("书名" and a number), first page; prints the 95th
-- percentile of the latency in milliseconds.
math.randomseed(7)
request = function()
   local n = math.random(1, 1000000)
   return wrk.format("GET", "/search?q=%E4%B9%A6%E5%90%8D" .. n)
end
done = function(summary, latency, requests)
   io.write(string.format("p95_ms %.2f\n", latency:percentile(95) / 1000))
   io.write(string.format("p50_ms %.2f\n", latency:percentile(50) / 1000))
   io.write(string.format("requests %d\n", summary.requests))
   io.write(string.format("errors %d\n", summary.errors.status + summary.errors.connect +
                          summary.errors.read + summary.errors.write + summary.errors.timeout))
end
