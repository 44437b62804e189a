#include <stdio.h>

#include "Langtool.h"

int main(int argc, char** argv) {
    return LangtoolMain(argc, argv, stdout, stderr);
}
