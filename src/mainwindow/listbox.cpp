#include "listbox.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStylePainter>

ListBox::ListBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        showsEditText = false;
        update();
    });
}

void ListBox::appendEntries(const QStringList &entries)
{
    const int before = currentIndex();
    {
        // Qt selects the first entry added to an empty list; a list here
        // keeps its selection until one is made.
        const QSignalBlocker blocker(this);
        addItems(entries);
        setCurrentIndex(before);
    }
    update();
}

void ListBox::setEditAreaText(const QString &text)
{
    editText = text;
    showsEditText = true;
    update();
}

QString ListBox::editAreaText() const
{
    return showsEditText ? editText : currentText();
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
        int keyAscii = typed.at(0).unicode();
        emit keyPress(keyAscii);
        if (keyAscii == 0) {
            event->accept();
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}

void ListBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (showsEditText) {
        option.currentText = editText;
        option.currentIcon = QIcon();
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
