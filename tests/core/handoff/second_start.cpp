// A second start of the program, as far as the hand-off goes: its parameters (and what was piped
// into it) go to the instance listening in the folder $TV_PIPE_FOLDER. Exit code 0 when they were
// handed over, 3 when no instance took them.

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "core/app_startup.h"
#include "core/dm_pipes.h"

int main(int argc, char** argv) {
    try {
        tv::InitAppStartup(std::vector<std::string>(argv + 1, argv + argc));
        if (const char* folder = std::getenv("TV_PIPE_FOLDER"))
            tv::AppStartup().PipeClient().SetSocketFolder(folder);
        tv::TDMPipes pipes(nullptr, tv::AppStartup());
        return pipes.Timer3Timer() ? 0 : 3;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
}
