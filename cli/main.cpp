// palettor-cli: the engine, the stored settings and the version reader without the window.
#include "CommandList.h"

int main(int argc, char** argv) { return palettor::cli::RunCommandLine({argv + 1, argv + argc}); }
