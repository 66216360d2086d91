#include "app/program.h"

int main() { return pricelookup::app::run_program(); }
