#pragma once

#include "reports/report.h"

#include <QString>

// The overdue fine bill ("罚款单") on B5 paper, one page. It has no data connection: the
// fine dialog fills the four values and sends it straight to the default printer.
//
//   Tfkdbbfm bill;
//   bill.setReaderName(reader);      // dzm of the card
//   bill.setBarcode(barcode);        // the barcode box
//   bill.setDaysOverdue(days);       // whole days overdue
//   bill.setAmount(amountText);      // the amount box text, as typed
//   ReportOutput::printDirect(bill.report(), this);
class Tfkdbbfm {
public:
    void setReaderName(const QString& name) { m_readerName = name; }
    void setBarcode(const QString& barcode) { m_barcode = barcode; }
    void setDaysOverdue(int days) { m_days = days; }
    void setAmount(const QString& amountText) { m_amount = amountText; }

    // The bill as a report; the date printed is Clock::today().
    Report report() const;

private:
    QString m_readerName;
    QString m_barcode;
    int m_days = 0;
    QString m_amount;
};
