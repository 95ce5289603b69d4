#pragma once

#include <QComboBox>

// A drop-down list whose edit area can show a text of its own (a prompt)
// until an entry is chosen, and that takes no typed characters.
class ListBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QString editAreaText READ editAreaText WRITE setEditAreaText)

public:
    explicit ListBox(QWidget *parent = nullptr);

    // Adds entries without selecting one and without any change signal.
    void appendEntries(const QStringList &entries);
    // Writes the edit area; choosing an entry replaces it.
    void setEditAreaText(const QString &text);
    QString editAreaText() const;
    // What a screen reader reads as the list's text: the edit area's, or
    // the entry's own text for a screen reader (Qt::AccessibleTextRole)
    // where it has one.
    QString spokenText() const;
    void showPopup() override;
    // Wide enough for every entry and for the text of its own.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A typed character; a handler that sets it to 0 discards it.
    void keyPress(int &keyAscii);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Whether the handler discarded the typed character of the key.
    bool discarded(QKeyEvent *event);
    QSize withEditText(QSize size) const;
    // Tells a screen reader of a new spoken text, and has Orca read a
    // focused closed list again.
    void tellSpokenText(bool entryChosen);

    QString editText;
    // The spoken text a screen reader was last told of.
    QString announced;
    bool showsEditText = false;
};
