#include "mainwindow/pathfield.h"

#include "mainwindow/describe.h"

#include <QPainter>
#include <QStyleOptionFrame>

PathField::PathField(QWidget *parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) {
        // A path is read from its start; the whole of it is the description.
        setCursorPosition(0);
        describe(*this, text);
    });
}

void PathField::setTag(const QString &tag)
{
    if (tag == tagValue)
        return;
    tagValue = tag;
    emit tagChanged();
}

QRect PathField::textArea() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    return style()
        ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
        .marginsRemoved(textMargins())
        .adjusted(2, 1, -2, -1);
}

QString PathField::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textArea().width());
}

void PathField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(textArea(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}
