#pragma once

#include "reports/report.h"

#include <QString>

// The damage fine bill ("罚款单") on B5 paper, one page. It has no data connection: the
// damage fine dialog fills the three values and sends it straight to the default printer.
//
//   Tshprintfm bill;
//   bill.setReaderName(reader);      // dzm of the card of the loan being returned
//   bill.setBarcode(barcode);        // barcode of the loan being returned
//   bill.setAmount(amountText);      // the amount box text, as typed
//   ReportOutput::printDirect(bill.report(), this);
class Tshprintfm {
public:
    void setReaderName(const QString& name) { m_readerName = name; }
    void setBarcode(const QString& barcode) { m_barcode = barcode; }
    void setAmount(const QString& amountText) { m_amount = amountText; }

    // The bill as a report; the date printed is Clock::today().
    Report report() const;

private:
    QString m_readerName;
    QString m_barcode;
    QString m_amount;
};
