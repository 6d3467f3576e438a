// typoscan-zindel: the GUI.
#include "app/Application.h"

int main(int argc, char** argv) { return tz::RunApplication(argc, argv); }
