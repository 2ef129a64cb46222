#include "app/startup.h"

int main(int argc, char** argv) { return tf::runWorksheet(argc, argv); }
