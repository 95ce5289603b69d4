#include "mainwindow/messageboxes.h"

#include <QMessageBox>

namespace kivo
{

QString displayedText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtMessageBoxes::show(QWidget &owner, const QString &text, BoxIcon icon, const QString &title)
{
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    if (icon == BoxIcon::Information)
        shownIcon = QMessageBox::Information;
    else if (icon == BoxIcon::Critical)
        shownIcon = QMessageBox::Critical;
    QMessageBox box(shownIcon, title, displayedText(text), QMessageBox::Ok, &owner);
    box.setTextFormat(Qt::PlainText);
    // A title bar with a close button only, where a toolkit draws it (Wayland).
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
    box.exec();
}

} // namespace kivo
