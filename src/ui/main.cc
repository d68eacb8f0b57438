#include "ui/kvqt_main.h"

int main(int argc, char** argv) { return kvqt::ui::RunKvqt(argc, argv); }
