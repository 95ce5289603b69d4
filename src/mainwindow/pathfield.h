#pragma once

#include <QLineEdit>

// A path field: the text a person reads, and beside it the tag, the value
// that enters a command line.
class PathField : public QLineEdit
{
    Q_OBJECT

public:
    explicit PathField(QWidget *parent = nullptr);

    QString tag() const { return tagValue; }
    void setTag(const QString &tag);
    // What the field says while nothing is chosen: shown now when nothing
    // is, and whole, as the field keeps room for it; a path may lose its
    // middle.
    void setPrompt(const QString &prompt);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    // The text as the field shows it: a path longer than the field loses
    // its middle, so that both its start and its file name show.
    QString shownText() const;

signals:
    void tagChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Inside the frame and the margins a line edit keeps around its text.
    QRect textArea() const;

    QString tagValue;
    QString promptText;
};
