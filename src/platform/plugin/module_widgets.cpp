#include "platform/plugin/module_widgets.h"

#include <dlfcn.h>

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <typeinfo>
#include <vector>

namespace tv {

namespace {

// A widget's most derived class is the module's when its type information lies in the module.
bool DefinedIn(QWidget* widget, const void* moduleBase) {
    Dl_info info{};
    const std::type_info& type = typeid(*widget);
    return dladdr(&type, &info) != 0 && info.dli_fbase == moduleBase;
}

}  // namespace

int DeleteWidgetsOfModule(const void* moduleBase) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
    std::vector<QPointer<QWidget>> outermost;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (!DefinedIn(widget, moduleBase)) continue;
        bool insideAnother = false;
        for (QWidget* p = widget->parentWidget(); p && !insideAnother; p = p->parentWidget())
            insideAnother = DefinedIn(p, moduleBase);
        if (!insideAnother) outermost.emplace_back(widget);
    }
    int deleted = 0;
    for (const QPointer<QWidget>& widget : outermost) {
        if (!widget) continue;
        delete widget.data();
        ++deleted;
    }
    return deleted;
}

}  // namespace tv
