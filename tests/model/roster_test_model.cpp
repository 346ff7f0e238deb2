// roster_test: the lines of the names file, each cut at its first NUL, listed in order twice.

#include <fstream>
#include <string>

#include "RosterModel.h"
#include "program_models.h"

ProgramRun model_roster_test(const std::vector<std::string>& args, std::istream& /*in: unread*/) {
    if (args.size() != 1) {
        throw OutsideModel("roster_test takes the names file");
    }
    std::ifstream file = open_input(args[0]);
    RosterModel roster;
    for (std::string line; std::getline(file, line);) {
        roster.add(line.substr(0, line.find('\0')));
    }
    ProgramRun run;
    run.out = "Using the member function add: \n\n" + roster.listing() +
              "\nUsing the member function operator+=: \n\n" + roster.listing();
    return run;
}
