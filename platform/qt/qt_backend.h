// Entry point of the Qt 6 / X11 backend. Deliberately free of Qt types.
#pragma once

namespace platform {
class App;
struct ResourceModule;
}  // namespace platform

namespace platform::qt {

// Creates the Qt application, runs app.InitInstance on the Qt backend and returns the
// process's exit status.
int RunApplication(int argc, char** argv, App& app, const ResourceModule& module);

}  // namespace platform::qt
