#pragma once

#include <QString>
#include <mpv/client.h>

// The libmpv functions the back end uses, looked up in the shared library when playback
// is first needed, so that a player that plays nothing never pays for loading the engine.
struct TMpvLibrary {
    decltype(&mpv_create) create;
    decltype(&mpv_initialize) initialize;
    decltype(&mpv_terminate_destroy) terminateDestroy;
    decltype(&mpv_set_option_string) setOptionString;
    decltype(&mpv_set_property_string) setPropertyString;
    decltype(&mpv_get_property) getProperty;
    decltype(&mpv_command) command;
    decltype(&mpv_command_ret) commandRet;
    decltype(&mpv_free_node_contents) freeNodeContents;
    decltype(&mpv_observe_property) observeProperty;
    decltype(&mpv_unobserve_property) unobserveProperty;
    decltype(&mpv_wait_event) waitEvent;
    decltype(&mpv_set_wakeup_callback) setWakeupCallback;
    decltype(&mpv_error_string) errorString;

    // The library, loaded once; null with a reason in `error` when it cannot be loaded.
    static const TMpvLibrary *Load(QString &error);
};
