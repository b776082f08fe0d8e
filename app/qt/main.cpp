#include "app/qt/Program.h"

int main(int argc, char* argv[]) {
    return tessarline::RunProgram(argc, argv);
}
