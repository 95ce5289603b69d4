#include "lang.h"

#include "form1.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace Lang
{

namespace
{

void setCaption(QWidget &window, const QString &control, const QString &text)
{
    if (window.objectName() == control) {
        window.setWindowTitle(text);
        return;
    }
    QObject *target = window.findChild<QObject *>(control);
    if (auto *label = qobject_cast<QLabel *>(target))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->setText(text);
    else if (auto *frame = qobject_cast<QGroupBox *>(target))
        frame->setTitle(text);
    else if (auto *menu = qobject_cast<QMenu *>(target))
        menu->setTitle(text);
    else if (auto *action = qobject_cast<QAction *>(target))
        action->setText(text);
    else
        qWarning("No control %s to caption", qUtf8Printable(control));
}

} // namespace

void applyCaption(QWidget &window, const QString &language, const Caption &caption)
{
    // No match for the language: the control keeps its caption.
    if (!Messages::isLanguage(language))
        return;
    setCaption(window, caption.control.toString(), Messages::pick(language, caption.texts));
}

void langmainform(Form1 &form, const QString &language)
{
    Q_UNUSED(form);
    Q_UNUSED(language);
}

} // namespace Lang
