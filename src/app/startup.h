#pragma once

namespace tf {

// Starts the worksheet and runs it until its window is closed; the program's exit status.
int runWorksheet(int argc, char** argv);

}  // namespace tf
