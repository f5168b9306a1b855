#!/usr/bin/env python3
"""The readers' web catalogue in a real browser (headless Chromium through Selenium).

Usage: opacbrowser.py LIBRARY_OPAC SCHEMA_DIR SHOT_DIR

Builds a small library from the program's own schema scripts, starts library-opac on it,
and walks a reader through search, a title page, the first sign-in with its forced PIN
change, the loans, a renewal (checked in the store), a renewal refused at the grade's
limit, signing out, and five wrong PINs that lock the card. Screenshots of the results
and of "my loans" at a desktop and a phone size are written to SHOT_DIR.
"""
import datetime
import os
import socket
import sqlite3
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions
from selenium.webdriver.support.ui import WebDriverWait

OPAC, SCHEMA, SHOTS = sys.argv[1], sys.argv[2], sys.argv[3]
TODAY = datetime.date.today()


def day(offset):
    return (TODAY + datetime.timedelta(days=offset)).isoformat()


def make_library(home):
    os.makedirs(os.path.join(home, "dat"), mode=0o700)
    db = sqlite3.connect(os.path.join(home, "dat", "library.db"))
    db.execute("PRAGMA journal_mode=WAL")
    for script in ("schema.sql", "delivered.sql", "mxflk.sql"):
        with open(os.path.join(SCHEMA, script), encoding="utf-8") as f:
            db.executescript(f.read())
    db.execute("PRAGMA user_version=4")
    db.execute("insert into jykdjk(kdj,km,yqfkje,yxxjcs,yjje,jyqx,gbf,yjsbs,jyqxdw,jsyj,yxts) "
               "values('A','借阅证',0.5,1,0,30,5,5,'日',50,365)")
    db.execute("insert into tssxxk(tssbh,tssmc) values('01','第一书库')")
    db.execute("insert into cardk(kno,kdj,km,dzm,sfzh,bkrq,yxrq,yj,jsbs,sfyx) "
               "values('1001','A','借阅证','张三','11010519491231002X',?,?,50,2,'Y')",
               (day(-100), day(265)))
    db.execute("insert into gsb(kno,kdj,dzm,gsbz,sfzh) "
               "values('1001','A','张三','否','11010519491231002X')")
    books = [
        ("B0001", "中国古代建筑史", "梁思成", "9787100012345", "TU-092", "商务印书馆", 2, 1),
        ("B0002", "红楼梦", "曹雪芹", "978-7-02-000220-7", "I242.4", "人民文学出版社", 1, 1),
        ("B0003", "<script>alert(1)</script>史记", "司马迁", "9787101003048", "K204", "中华书局", 1, 0),
    ]
    for txm, title, author, isbn, cls, publisher, copies, lent in books:
        db.execute("insert into tszk(txm,tsmc,zz,isbn,mxflm,flmc,cbsmc,cbsj,bs,jcs,tszt,scddbh,"
                   "fsjh,bmrq,yz) values(?,?,?,?,?,?,?,?,?,?,?,'01','A-01',?,'中文')",
                   (txm, title, author, isbn, cls, cls[0], publisher, "2005-06-01", copies,
                    lent, "C" if lent >= copies else "W", day(-3)))
    # One loan to renew, one already renewed as often as the grade allows.
    db.execute("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,xjcs) "
               "values('1001','B0001',?,'借书员',?,0)", (day(-10), day(20)))
    db.execute("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,xjcs) "
               "values('1001','B0002',?,'借书员',?,1)", (day(-40), day(5)))
    db.commit()
    db.close()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def browser():
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--disable-background-networking", "--disable-extensions",
                 "--disable-sync", "--no-first-run", "--lang=zh-CN"):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def check(condition, what):
    if not condition:
        raise AssertionError(what)
    print("ok -", what)


def main():
    os.makedirs(SHOTS, exist_ok=True)
    home = tempfile.mkdtemp(prefix="opac-browser-")
    make_library(home)
    port = free_port()
    base = f"http://127.0.0.1:{port}"
    started = time.monotonic()
    server = subprocess.Popen([OPAC, "--home", home, "--listen", f"127.0.0.1:{port}"],
                              stdout=subprocess.PIPE, text=True)
    try:
        line = server.stdout.readline()
        check("serving" in line, f"library-opac starts ({time.monotonic() - started:.2f} s)")
        driver = browser()
        try:
            run(driver, base, home)
        finally:
            driver.quit()
    finally:
        server.terminate()
        server.wait(10)
    with open(os.path.join(home, "log", "opac.log"), encoding="utf-8") as log:
        check("renewal of loan" in log.read(), "the renewal is in log/opac.log")


def shoot(driver, name):
    for label, size in (("desktop", (1280, 900)), ("phone", (390, 844))):
        driver.set_window_size(*size)
        height = driver.execute_script("return document.body.scrollHeight")
        driver.set_window_size(size[0], max(size[1], min(height + 150, 3000)))
        driver.save_screenshot(os.path.join(SHOTS, f"{name}-{label}.png"))
    driver.set_window_size(1280, 900)


def search(driver, base, text):
    driver.get(base + "/")
    box = driver.find_element(By.ID, "q")
    box.clear()
    box.send_keys(text)
    submit(driver, "search")
    return driver.find_element(By.TAG_NAME, "main").text


def due_of(home, barcode):
    db = sqlite3.connect(os.path.join(home, "dat", "library.db"))
    try:
        return db.execute("select hsrq from dzjsmxk where kno='1001' and txm=?",
                          (barcode,)).fetchone()[0]
    finally:
        db.close()


def submit(driver, button_id):
    """Clicks a form's button and waits until the answer has replaced the page."""
    button = driver.find_element(By.ID, button_id)
    button.click()
    WebDriverWait(driver, 10).until(expected_conditions.staleness_of(button))


def sign_in(driver, base, pin):
    driver.get(base + "/signin")
    driver.find_element(By.ID, "card").send_keys("1001")
    driver.find_element(By.ID, "pin").send_keys(pin)
    submit(driver, "signin")


def run(driver, base, home):
    driver.set_window_size(1280, 900)
    text = search(driver, base, "古代建筑")
    check("中国古代建筑史" in text and "可借 1 册" in text, "search by a title fragment")
    text = search(driver, base, "司马迁")
    check("<script>alert(1)</script>史记" in text, "a title with markup is shown as text")
    check(not driver.find_elements(By.TAG_NAME, "script"), "the page holds no script element")
    text = search(driver, base, "978-7-02-000220-7")
    check("红楼梦" in text and "全部借出" in text, "search by ISBN; no copy in")
    driver.get(base + "/browse")
    driver.find_element(By.PARTIAL_LINK_TEXT, "I 文学").click()
    text = driver.find_element(By.TAG_NAME, "main").text
    check("红楼梦" in text and "中国古代建筑史" not in text, "browse by class")
    search(driver, base, "曹雪芹")
    shoot(driver, "search-results")
    driver.find_element(By.LINK_TEXT, "红楼梦").click()
    text = driver.find_element(By.TAG_NAME, "main").text
    check("人民文学出版社" in text and "I242.4" in text and "第一书库" in text,
          "the title page shows the catalogued fields and the copies")

    sign_in(driver, base, "31002X")
    check(driver.current_url.endswith("/pin") and "初始密码" in driver.page_source,
          "the first PIN signs in and asks for a new one")
    driver.get(base + "/my")
    check(driver.current_url.endswith("/pin"), "nothing else before the PIN is changed")
    driver.find_element(By.ID, "current").send_keys("31002X")
    driver.find_element(By.ID, "newpin").send_keys("reader77")
    driver.find_element(By.ID, "again").send_keys("reader77")
    submit(driver, "change")
    text = driver.find_element(By.TAG_NAME, "main").text
    check(driver.current_url.endswith("/my") and "中国古代建筑史" in text and "红楼梦" in text,
          "my loans after the PIN change")
    shoot(driver, "my-loans")

    submit(driver, "renew-B0001")
    text = driver.find_element(By.ID, "flash").text
    check(day(50) in text, f"renewal shows the new due date ({text})")
    check(due_of(home, "B0001") == day(50), "the new due date is in the store")
    submit(driver, "renew-B0002")
    text = driver.find_element(By.ID, "flash").text
    check("不能再续借" in text, "a renewal at the grade's limit is refused")
    check(due_of(home, "B0002") == day(5), "the refused renewal changed nothing")
    shoot(driver, "my-loans-renewed")
    submit(driver, "signout")
    driver.get(base + "/my")
    check(driver.current_url.endswith("/signin"), "signed out")

    for _ in range(5):
        sign_in(driver, base, "000000")
    check("已锁定" in driver.find_element(By.ID, "error").text, "five wrong PINs lock the card")
    sign_in(driver, base, "reader77")
    check("已锁定" in driver.find_element(By.ID, "error").text,
          "the locked card refuses the right PIN too")


if __name__ == "__main__":
    main()
