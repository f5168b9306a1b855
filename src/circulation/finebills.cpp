#include "circulation/finebills.h"

#include "reports/fkdbb.h"
#include "reports/reportoutput.h"
#include "reports/shprint.h"
#include "ui/messages.h"

namespace {
bool printing = false;
}

void FineBills::setPrintFlag(bool print)
{
    printing = print;
}

bool FineBills::printFlag()
{
    return printing;
}

void FineBills::print(const QList<Bill>& bills, QWidget* parent)
{
    for (const Bill& bill : bills) {
        if (bill.kind == Bill::Kind::Overdue) {
            Messages::notice(parent, "提示信息", "该读者的逾期罚款单已送打印！");
            Tfkdbbfm report;
            report.setReaderName(bill.readerName);
            report.setBarcode(bill.barcode);
            report.setDaysOverdue(bill.daysOverdue);
            report.setAmount(bill.amount);
            ReportOutput::printDirect(report.report(), parent);
        } else {
            Tshprintfm report;
            report.setReaderName(bill.readerName);
            report.setBarcode(bill.barcode);
            report.setAmount(bill.amount);
            ReportOutput::printDirect(report.report(), parent);
        }
    }
}
