#include "mainwindow/pathfield.h"

#include "mainwindow/describe.h"

#include <QPainter>
#include <QStyleOptionFrame>
#include <cmath>

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

void PathField::setPrompt(const QString &prompt)
{
    promptText = prompt;
    updateGeometry();
    if (tagValue.isEmpty())
        setText(prompt);
}

QSize PathField::minimumSizeHint() const
{
    // The frame and the margins around the text are the same at any width.
    const int around = width() - textArea().width();
    const int prompt = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(promptText)));
    return QLineEdit::minimumSizeHint().expandedTo(QSize(prompt + around, 0));
}

QSize PathField::sizeHint() const
{
    return QLineEdit::sizeHint().expandedTo(minimumSizeHint());
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
