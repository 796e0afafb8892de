// Zupfari Basis, an interactive guitar course.
#include "app/zupfariapp.h"

int main(int argc, char** argv) { return app::RunZupfari(argc, argv); }
