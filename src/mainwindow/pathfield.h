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

signals:
    void tagChanged();

private:
    QString tagValue;
};
