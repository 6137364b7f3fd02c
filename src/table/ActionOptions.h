#pragma once

#include <QString>
#include <span>

namespace campanor {

// Where an action option's parameter comes from.
enum class ParameterSource {
    None,         // the action word alone
    DefaultRing,  // the default ring's path alone
    ChosenRing,   // the chosen sound file's path alone
    Playlist,     // word + the playlist chosen in the playlist dialog
    Program,      // word + the program box
    Table,        // word + the table box
    SearchFolder, // word + the folder from the folder picker
};

// One option of the "响应方式" frame.
struct ActionOption {
    const char* name; // the option button's name
    QString caption;
    QString word; // the action word; empty for the two ring options
    ParameterSource source;
    const char* box; // the parameter box, or nullptr
};

// The 22 options in the order the panel shows them; Option1 first.
std::span<const ActionOption> actionOptions();
// The option of that name, or nullptr.
const ActionOption* findActionOption(const QString& name);

} // namespace campanor
