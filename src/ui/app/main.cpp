// saroko: the program.
#include "ui/app/ZorvicApp.h"

int main(int argc, char** argv) {
    return saroko::RunApplication(argc, argv);
}
