#include "updater/tarnswap/tarnswap.h"

int main(int argc, char** argv) { return tarnswap::Run(argc, argv); }
