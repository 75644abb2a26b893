#pragma once

#include <string>
#include <vector>

// The films of one folder for the film list: the files the program opens,
// each with the state of its case and, from its landmark file, the date of
// the radiograph and the patient.
namespace FilmFolder {

struct Film {
    std::string path; // the folder joined with the name
    std::string name; // file name
    bool hasLandmarks = false;
    // Filled by readDetails; until then only the name and the state are known.
    bool detailsRead = false;
    std::string datum;    // "yyyymmdd" or empty
    std::string patient;  // "Name, First Name" or empty
    bool damaged = false; // the landmark file is there but does not read to its end
};

// The regular files of `folder` whose extension (without the dot, any
// case) is one of `extensions`, sorted by name without regard to case.
// Reads directory entries only, so it stays quick for large folders; an
// unreadable folder gives an empty list.
std::vector<Film> list(const std::string& folder, const std::vector<std::string>& extensions);

// The entry of one film, its details not read.
Film film(const std::string& path);

// Reads the date and the patient of a film's landmark file, quietly: a
// damaged file leaves them empty. Marks the film as read.
void readDetails(Film& film);

} // namespace FilmFolder
