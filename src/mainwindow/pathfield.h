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
};
