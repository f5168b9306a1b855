#pragma once

#include <QDate>
#include <QString>
#include <QTemporaryDir>

// A fresh program folder with the delivered database, today fixed to 2026-12-09,
// a logged-in administrator "TEST" named "测试员", and scripted message boxes,
// file dialogs and report output (previews and prints are recorded as PDFs under reports/). Create
// one per test function (in init()) and drop it in cleanup().
class Fixture {
public:
    Fixture();
    ~Fixture();

    static QDate today() { return QDate(2026, 12, 9); }
    static constexpr const char* operatorCode = "TEST";
    static constexpr const char* operatorName = "测试员";
    static constexpr const char* operatorPassword = "test";

    QString home() const { return m_dir.path(); }
    QString path(const QString& relative) const;

    // Replaces the session with another operator holding the grants stored for its code.
    void loginAs(const QString& code, const QString& name, const QString& grade);

    // Rows of a query as text, for compact assertions.
    static int count(const QString& statement, const QVariantList& values = {});

private:
    QTemporaryDir m_dir;
};
