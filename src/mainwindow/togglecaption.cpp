#include "mainwindow/togglecaption.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLabel>

namespace
{

class ToggleCaption : public QAccessibleWidget
{
public:
    explicit ToggleCaption(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? QString() : QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *accessibleToggleCaption(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    return label && qobject_cast<QAbstractButton *>(label->buddy()) ? new ToggleCaption(label)
                                                                    : nullptr;
}

} // namespace

void silenceToggleCaptions()
{
    static const bool installed = (QAccessible::installFactory(accessibleToggleCaption), true);
    Q_UNUSED(installed);
}
