#include "mainwindow/pathfield.h"

#include "mainwindow/describe.h"

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
