#include "qt/run_game.h"

int main(int argc, char *argv[])
{
    return qt::runGame(argc, argv);
}
