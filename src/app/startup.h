#pragma once

#include <QString>

class Tmainfm;

// What happens once the main window first shows: connect the store, log in,
// and show what the operator has been granted.
namespace Startup {
struct Outcome {
    bool connected = false;
    bool loggedIn = false;
    bool quit = false; // the login dialog asked the program to end
};
// Opens the database; on failure shows "1error" with the reason on a second line.
bool connectStore(Tmainfm* window);
// The whole sequence after the first showing of the main window.
Outcome run(Tmainfm* window);
// Loads the theme (the fourth of the shipped four) for the whole application.
void applyTheme(int number = 4);
} // namespace Startup
