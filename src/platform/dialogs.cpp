#include "platform/dialogs.h"

#include <QMessageBox>

namespace orvine {

QString display_text(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

namespace {

int run_box(QWidget* parent, const QString& text, const QString& title, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton escape)
{
    QMessageBox box(QMessageBox::NoIcon, title, display_text(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(escape);
    return box.exec();
}

} // namespace

void MessageBoxDialogs::message(const QString& text, const QString& title)
{
    run_box(parent_, text, title, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxDialogs::confirm(const QString& text, const QString& title)
{
    return run_box(parent_, text, title, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

} // namespace orvine
