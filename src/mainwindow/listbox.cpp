#include "mainwindow/listbox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStylePainter>

namespace
{

// The text a list shows, read only, without a caret or a selection, as it
// stands in the list's edit field.
class ShownTextInterface : public QAccessibleTextInterface
{
public:
    explicit ShownTextInterface(ListBox *list) : shownBy(list) {}

    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return int(shown().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
    }
    QRect characterRect(int offset) const override
    {
        const QFontMetrics metrics = shownBy->fontMetrics();
        const QRect area = field();
        const int left = metrics.horizontalAdvance(shown().left(offset));
        const int width = metrics.horizontalAdvance(shown().mid(offset, 1));
        return QRect(area.left() + left, area.top(), width, area.height());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }
    void scrollToSubstring(int, int) override {}

protected:
    QString shown() const { return shownBy->spokenText(); }
    // The edit field, on the screen.
    QRect field() const
    {
        QStyleOptionComboBox option;
        option.initFrom(shownBy);
        const QRect area = shownBy->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxEditField, shownBy);
        return QRect(shownBy->mapToGlobal(area.topLeft()), area.size());
    }

    ListBox *const shownBy;
};

// The text a closed list shows, as a read-only text inside it. When that
// text changes Orca 43 moves its attention to it without a word; the
// list's focus event that follows has it read the list again, whole, with
// the new entry.
class ShownText : public QAccessibleInterface, public ShownTextInterface
{
public:
    using ShownTextInterface::ShownTextInterface;
    using ShownTextInterface::text;

    bool isValid() const override { return true; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return shownBy->window()->windowHandle(); }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(shownBy);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name || kind == QAccessible::Value ? shown() : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return field(); }
    QAccessible::Role role() const override { return QAccessible::EditableText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !shownBy->isVisible();
        state.disabled = !shownBy->isEnabled();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                                  : nullptr;
    }
};

// What a screen reader learns of a list: its name says what it is for (its
// label's text, or a name of its own), and its text is what it shows (the
// prompt until an entry is chosen, then the entry), where Orca reads a
// combo box's value when no selection interface is offered, as Qt 6.4
// offers none.
class ListBoxAccessible : public QAccessibleWidget, public ShownTextInterface
{
public:
    explicit ListBoxAccessible(ListBox *list)
        : QAccessibleWidget(list, QAccessible::ComboBox), ShownTextInterface(list)
    {
    }
    ~ListBoxAccessible() override
    {
        if (shownTextId)
            QAccessible::deleteAccessibleInterface(shownTextId);
    }
    using ShownTextInterface::text;

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(kind);
    }

    // The entries, as the open list shows them, and the text shown closed.
    int childCount() const override { return 2; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(list()->view());
        if (index != 1)
            return nullptr;
        if (!shownTextId)
            shownTextId = QAccessible::registerAccessibleInterface(new ShownText(list()));
        return QAccessible::accessibleInterface(shownTextId);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object() == list()->view())
            return 0;
        if (child && shownTextId && child == QAccessible::accessibleInterface(shownTextId))
            return 1;
        return -1;
    }

    // As Qt's own combo box: either action opens the list, or closes it.
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

private:
    ListBox *list() const { return static_cast<ListBox *>(widget()); }
    mutable QAccessible::Id shownTextId = 0;
};

QAccessibleInterface *accessibleListBox(const QString &, QObject *object)
{
    auto *list = qobject_cast<ListBox *>(object);
    return list ? new ListBoxAccessible(list) : nullptr;
}

} // namespace

ListBox::ListBox(QWidget *parent) : QComboBox(parent)
{
    // Entries rewritten in another language take the width they need.
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleListBox), true);
    Q_UNUSED(factoryInstalled);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        showsEditText = false;
        update();
        tellSpokenText(true);
    });
    // An entry rewritten in another language.
    connect(this, &QComboBox::currentTextChanged, this, [this] { tellSpokenText(false); });
}

void ListBox::tellSpokenText(bool entryChosen)
{
    const QString before = announced;
    announced = spokenText();
    // A newly chosen entry is heard even where it reads as the text before.
    if ((announced == before && !entryChosen) || !QAccessible::isActive())
        return;
    QAccessibleTextUpdateEvent changed(QAccessible::queryAccessibleInterface(this)->child(1), 0,
                                       before, announced);
    QAccessible::updateAccessibility(&changed);
    // The open list reads its entries itself, and the list is read again
    // when it closes.
    if (hasFocus() && !view()->isVisible()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
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
    updateGeometry();
    update();
    QAccessibleValueChangeEvent changed(this, text);
    QAccessible::updateAccessibility(&changed);
    tellSpokenText(false);
}

QSize ListBox::withEditText(QSize size) const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize text(fontMetrics().horizontalAdvance(editText), size.height());
    return size.expandedTo(style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this));
}

QSize ListBox::sizeHint() const
{
    return withEditText(QComboBox::sizeHint());
}

// Qt's minimum keeps the width of the first entries it saw.
QSize ListBox::minimumSizeHint() const
{
    return sizeHint();
}

QString ListBox::editAreaText() const
{
    return showsEditText ? editText : currentText();
}

QString ListBox::spokenText() const
{
    const QVariant own = currentData(Qt::AccessibleTextRole);
    return showsEditText || !own.isValid() ? editAreaText() : own.toString();
}

bool ListBox::discarded(QKeyEvent *event)
{
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.at(0).isPrint())
        return false;
    int keyAscii = typed.at(0).unicode();
    emit keyPress(keyAscii);
    return keyAscii == 0;
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    if (discarded(event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

// The open list would search its entries for what is typed and choose the
// one found: a typed character goes through the same handler there. The
// list is made at its first opening, not at every start-up.
void ListBox::showPopup()
{
    view()->installEventFilter(this);
    QComboBox::showPopup();
}

bool ListBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress &&
        discarded(static_cast<QKeyEvent *>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
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
