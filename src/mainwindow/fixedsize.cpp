#include "mainwindow/fixedsize.h"

#include <QEvent>
#include <QLayout>
#include <QWidget>

namespace
{

class FixedSize : public QObject
{
public:
    FixedSize(QWidget &window, const QSize &design)
        : QObject(&window), window(window), design(design)
    {
        window.installEventFilter(this);
        fit();
    }

    void fit() { window.setFixedSize(window.layout()->totalMinimumSize().expandedTo(design)); }

protected:
    // The layout has already taken the new size hints in when the window
    // sees the request.
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            fit();
        return false;
    }

private:
    QWidget &window;
    const QSize design;
};

} // namespace

void keepFixedSize(QWidget &window, const QSize &design)
{
    new FixedSize(window, design);
}
