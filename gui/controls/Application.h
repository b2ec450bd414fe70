// The application object: its title, its main form, the message loop and
// the one place where errors that leave an event handler are shown.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace gui {

class TForm;

class TApplication {
public:
    // Registers the window classes and the common controls; safe to call more than once.
    void Initialize();

    std::string Title;
    TForm* MainForm = nullptr;
    // Replaces the standard error display (tests record errors with it).
    std::function<void(const std::exception&)> OnException;

    // Runs the message loop until the main form closes.
    void Run();
    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();
    // Dispatches one message, giving its form the first look at keys.
    void DispatchOne(MSG& message);
    // Shows the error's message, a period appended when its last byte sorts
    // after ".", with the title as caption, an error icon and OK.
    void HandleException(const std::exception& error);
    // The same for an error caught as it flew (any type; others show as
    // "Unknown error").
    void HandleException(std::exception_ptr error);
    static std::string ErrorText(const std::string& message);
};

TApplication& Application();

}  // namespace gui
