#include "reports/dzjsprint.h"

#include "desk/bookstate.h"

namespace {
// The book rows with the state word `zt` beside the state code.
class BookStateRows : public RowSource {
public:
    BookStateRows(const QString& statement, const QVariantList& values) : m_rows(statement, values)
    {
    }
    void rewind() override { m_rows.rewind(); }
    bool next() override { return m_rows.next(); }
    QVariant value(const QString& column) const override
    {
        if (column.compare("zt", Qt::CaseInsensitive) == 0)
            return BookState::word(m_rows.value("tszt").toString());
        return m_rows.value(column);
    }
    void finish() override { m_rows.finish(); }

private:
    SqlRowSource m_rows;
};
} // namespace

Report Tdzjsprintfm::report() const
{
    using E = ReportElement;
    const ReportFont body = ReportFont::song(9);

    Report r;
    r.name = "图书馆查询报表";
    r.page = ReportPage::b5();

    ReportBand& title = r.title;
    title.height = 30;
    title.add(E::hline(53, 1, 58).withPenWidth(0.4));
    title.add(E::text({53, 3, 58}, "图 书 馆 查 询 报 表", ReportFont::song(15, true))
                  .aligned(ReportAlign::Centre));
    title.add(E::hline(53, 11.5, 58).withPenWidth(0.4));
    title.add(E::date({74, 14, 25}, body));
    title.add(E::text({2, 22, 20}, "条形码", body));
    title.add(E::text({55, 22, 20}, "图书名称", body));
    title.add(E::text({112, 22, 16}, "图书状态", body));
    title.add(E::text({130, 22, 16}, "馆藏本数", body));
    title.add(E::text({147, 22, 15}, "借出本数", body));
    title.add(E::hline(0, 27.5, r.page.printableMm().width()));

    ReportBand& detail = r.detail;
    detail.height = 5.5;
    detail.add(E::field({0, 0.8, 25}, "Txm", body));
    detail.add(E::field({26, 0.8, 84}, "Tsmc", body));
    detail.add(E::field({111, 0.8, 25}, "zt", body));
    detail.add(E::field({137, 0.8, 12}, "Bs", body).aligned(ReportAlign::Right).formatted("0"));
    detail.add(E::field({152, 0.8, 10}, "Jcs", body).aligned(ReportAlign::Right).formatted("0"));

    ReportBand& footer = r.pageFooter;
    footer.height = 7;
    footer.add(E::text({147, 1.5, 5}, "第", body));
    footer.add(E::pageNumber({151.5, 1.5, 6}, body).aligned(ReportAlign::Centre));
    footer.add(E::text({157.5, 1.5, 4}, "页", body));

    r.rows = std::make_shared<BookStateRows>(m_rows.text, m_rows.values);
    return r;
}
