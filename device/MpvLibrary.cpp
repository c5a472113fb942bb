#include "device/MpvLibrary.h"

#include <dlfcn.h>

namespace {

template <typename Function>
bool Resolve(void *library, const char *name, Function &function, QString &error)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function)
        error = QStringLiteral("libmpv lacks %1").arg(QLatin1String(name));
    return function != nullptr;
}

const TMpvLibrary *LoadOnce(QString &error)
{
    void *library = dlopen("libmpv.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        error = QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    static TMpvLibrary mpv;
    const bool complete = Resolve(library, "mpv_create", mpv.create, error)
                          && Resolve(library, "mpv_initialize", mpv.initialize, error)
                          && Resolve(library, "mpv_terminate_destroy", mpv.terminateDestroy, error)
                          && Resolve(library, "mpv_set_option_string", mpv.setOptionString, error)
                          && Resolve(library, "mpv_set_property_string", mpv.setPropertyString, error)
                          && Resolve(library, "mpv_get_property", mpv.getProperty, error)
                          && Resolve(library, "mpv_command", mpv.command, error)
                          && Resolve(library, "mpv_command_ret", mpv.commandRet, error)
                          && Resolve(library, "mpv_free_node_contents", mpv.freeNodeContents, error)
                          && Resolve(library, "mpv_observe_property", mpv.observeProperty, error)
                          && Resolve(library, "mpv_unobserve_property", mpv.unobserveProperty, error)
                          && Resolve(library, "mpv_wait_event", mpv.waitEvent, error)
                          && Resolve(library, "mpv_set_wakeup_callback", mpv.setWakeupCallback, error)
                          && Resolve(library, "mpv_error_string", mpv.errorString, error);
    if (!complete) {
        dlclose(library);
        return nullptr;
    }
    return &mpv;
}

} // namespace

const TMpvLibrary *TMpvLibrary::Load(QString &error)
{
    static QString loadError;
    static const TMpvLibrary *library = LoadOnce(loadError);
    error = loadError;
    return library;
}
