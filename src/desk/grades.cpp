#include "desk/grades.h"

#include "data/sql.h"

std::optional<Grade> Grades::find(const QString& code)
{
    Sql q("select * from jykdjk where kdj=:tj");
    q.bind(code).exec();
    if (!q.first())
        return std::nullopt;
    Grade grade;
    grade.code = q.text("kdj");
    grade.cardName = q.text("km");
    grade.fee = q.money("gbf");
    grade.maxAmount = q.money("yjje");
    grade.loanDays = q.integer("jyqx");
    grade.maxBooks = q.integer("yjsbs");
    grade.deposit = q.money("jsyj");
    grade.renewals = q.integer("yxxjcs");
    grade.finePerDay = q.money("yqfkje");
    grade.validDays = static_cast<int>(q.number("yxts"));
    return grade;
}

QStringList Grades::codes()
{
    Sql q("select kdj from jykdjk order by kdj");
    q.exec();
    QStringList codes;
    while (q.next())
        codes << q.text("kdj");
    return codes;
}
