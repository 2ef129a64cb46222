// The worksheet's own start-up, exactly as the program runs it; the first-paint hook
// linked in beside it ends the run at the first frame.
#include "app/startup.h"

int main(int argc, char** argv) { return tf::runWorksheet(argc, argv); }
