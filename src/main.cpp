#include "app/arranque.h"

int main(int argc, char** argv) { return Global::Main(argc, argv); }
