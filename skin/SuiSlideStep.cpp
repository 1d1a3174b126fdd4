#include "skin/SuiSlideStep.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

bool PaintSlideStep(QWidget* widget) {
    QPointer<QWidget> alive(widget);
    if (!widget->isVisible())
        return true;
    widget->repaint();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !alive.isNull();
}
