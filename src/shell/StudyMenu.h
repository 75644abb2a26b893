#pragma once

#include <string>

class MainForm;
class StudyWindow;
namespace FilmReport {
struct Film;
}

// The main window's items for series and reports: "&Series ..." (Ctrl+R)
// opens the study window over the open film's folder (or a folder chosen),
// "&Film Report ..." writes the open film's report and offers to print it.
namespace StudyMenu {

// Adds both items to the "&File" menu, before "&Exit".
void install(MainForm& main);

// The study window shown, or nullptr when no folder was chosen.
StudyWindow* openSeries(MainForm& main);
void filmReport(MainForm& main);

// The open film's report page as the window shows it.
FilmReport::Film filmOf(MainForm& main);

// The report on the default printer: "" when printed, else why not.
std::string print(const FilmReport::Film& film);

} // namespace StudyMenu
