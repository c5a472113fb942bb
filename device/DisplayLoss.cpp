#include "device/DisplayLoss.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

using TIOErrorHandler = int (*)(void *display);
using TSetIOErrorHandler = TIOErrorHandler (*)(TIOErrorHandler);

int DisplayLost(void *)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread())
        return 0; // the library then calls exit() right here
    QMetaObject::invokeMethod(application, [] { std::exit(1); }, Qt::QueuedConnection);
    for (;;)
        ::pause();
}

} // namespace

void RouteDisplayLossToTheUserInterfaceThread()
{
    void *library = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return;
    if (auto set = reinterpret_cast<TSetIOErrorHandler>(::dlsym(library, "XSetIOErrorHandler")))
        set(&DisplayLost);
    ::dlclose(library);
}
