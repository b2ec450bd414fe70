// Program start: the application with its title, the main window, the
// message loop.
#include <exception>

#include <windows.h>

#include "Application.h"
#include "Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    gui::TApplication& application = gui::Application();
    try {
        application.Initialize();
        application.Title = "クオーヴェル";
        quorvel::TQuorvel form;
        application.MainForm = &form;
        form.Show();
        application.Run();
    } catch (const std::exception& error) {
        // Only a failure to build the window gets here; handlers report their own.
        application.HandleException(error);
        return 1;
    }
    return 0;
}
