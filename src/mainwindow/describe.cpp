#include "mainwindow/describe.h"

#include <QString>
#include <QWidget>

void describe(QWidget &control, const QString &text)
{
    // Qt guesses whether a tip is markup from its first line: escaped rich
    // text is never guessed wrong.
    const QString shown = text.isEmpty() ? QString()
                                         : QStringLiteral("<p style='white-space:pre-wrap'>") +
                                               text.toHtmlEscaped() + QStringLiteral("</p>");
    control.setToolTip(shown);
    control.setWhatsThis(shown);
    control.setAccessibleDescription(text);
}
