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
    // Qt tells a screen reader of every description set, the same or not:
    // Orca would handle a change of each described control after each choice.
    if (control.toolTip() == shown && control.accessibleDescription() == text)
        return;
    control.setToolTip(shown);
    control.setWhatsThis(shown);
    control.setAccessibleDescription(text);
}
