#include "TavexApp.h"

CTavexApp theApp;

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
