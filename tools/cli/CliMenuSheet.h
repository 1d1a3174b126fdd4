#pragma once
// zelmora-cli skin-sheet --menus OUT.png (CliMenuSheet.cpp).
#include <string>

int RunMenuSheet(const std::string& out);
