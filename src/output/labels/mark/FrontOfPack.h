#pragma once

// Whether a preparation may carry the "ALTO EM" mark: the user marks it as one of the foods
// whose front-of-pack labelling is forbidden (key SemFro of section DadRot: the item, 0 or
// absent for none), and the mark is then never drawn. The screen and the command line say
// what that means.

#include <string>
#include <vector>

#include "output/labels/mark/FrontOfPackRules.h"
#include "storage/IniFile.h"

namespace velmaro {

// The item as listed, "3 – Carnes e pescados embalados, …" (Windows-1252); empty for an
// item not on the list.
std::string ForbiddenFoodText(int item);
// Every item as listed, in order.
std::vector<std::string> ForbiddenFoodTexts();
bool IsForbiddenFood(int item);

// The item stored with the label data; 0 for none (an absent key, or a value that is not
// an item of the list).
int LoadForbiddenFood(const IniFile& labelFile);
void SaveForbiddenFood(IniFile& labelFile, int item);

// "Rotulagem frontal vedada: <item>", and for items 1 to 6 what it holds for; empty for 0.
std::string ForbiddenFoodState(int item);
// Said once when a limit is reached: when the mark is optional (Windows-1252).
std::string OptionalMarkNotice();

}  // namespace velmaro
