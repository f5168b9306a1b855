#pragma once

#include "reports/report.h"

#include <QImage>
#include <QString>

// The library card ("图  书  借  阅  证"): a framed card of about 90 × 61 mm in the top
// left corner of an A4 page. It has no data connection: the caller fills the fields and
// shows the preview, from which the operator prints.
//
//   Ttszprintfm card;
//   card.setGrade(grade);
//   card.setCardNumber(number);
//   card.setName(name);
//   card.setIdentityNumber(identity);
//   card.setAddress(address);
//   card.setWorkUnit(workUnit);              // the reprint leaves it empty
//   card.setCardDate(Dates::toText(Clock::today()));
//   card.setValidUntil(validUntil);
//   card.setPhoto(QImage(photoPath));        // optional; without one the frame shows "(照    片)"
//   ReportOutput::preview(card.report(), this);
class Ttszprintfm {
public:
    void setGrade(const QString& grade) { m_grade = grade; }
    void setCardNumber(const QString& number) { m_number = number; }
    void setName(const QString& name) { m_name = name; }
    void setIdentityNumber(const QString& identity) { m_identity = identity; }
    void setAddress(const QString& address) { m_address = address; }
    void setWorkUnit(const QString& workUnit) { m_workUnit = workUnit; }
    void setCardDate(const QString& date) { m_cardDate = date; }
    void setValidUntil(const QString& date) { m_validUntil = date; }
    void setPhoto(const QImage& photo) { m_photo = photo; }
    // The card number also as a Code 128 symbol under the photograph, for the desk scanner.
    void setNumberBarcode(bool printed) { m_barcode = printed; }

    Report report() const;

private:
    QString m_grade;
    QString m_number;
    QString m_name;
    QString m_identity;
    QString m_address;
    QString m_workUnit;
    QString m_cardDate;
    QString m_validUntil;
    QImage m_photo;
    bool m_barcode = false;
};
