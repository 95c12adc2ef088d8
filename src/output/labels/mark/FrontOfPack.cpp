#include "output/labels/mark/FrontOfPack.h"

#include <algorithm>
#include <string_view>

#include "storage/Cp1252.h"

namespace velmaro {

namespace {

constexpr std::string_view kSection = "DadRot";
constexpr std::string_view kKey = "SemFro";

const frontofpack::ForbiddenFood* Find(int item) {
    const auto& foods = frontofpack::kForbiddenFoods;
    const auto it =
        std::find_if(foods.begin(), foods.end(),
                     [item](const frontofpack::ForbiddenFood& f) { return f.item == item; });
    return it == foods.end() ? nullptr : &*it;
}

}  // namespace

bool IsForbiddenFood(int item) {
    return Find(item) != nullptr;
}

std::string ForbiddenFoodText(int item) {
    const frontofpack::ForbiddenFood* food = Find(item);
    if (food == nullptr) {
        return {};
    }
    return std::to_string(food->item) + W(" – ") + W(food->name);
}

std::vector<std::string> ForbiddenFoodTexts() {
    std::vector<std::string> texts;
    for (const frontofpack::ForbiddenFood& food : frontofpack::kForbiddenFoods) {
        texts.push_back(ForbiddenFoodText(food.item));
    }
    return texts;
}

int LoadForbiddenFood(const IniFile& labelFile) {
    const int item = labelFile.ReadInteger(kSection, kKey, 0);
    return IsForbiddenFood(item) ? item : 0;
}

void SaveForbiddenFood(IniFile& labelFile, int item) {
    labelFile.WriteInteger(kSection, kKey, IsForbiddenFood(item) ? item : 0);
}

std::string ForbiddenFoodState(int item) {
    const frontofpack::ForbiddenFood* food = Find(item);
    if (food == nullptr) {
        return {};
    }
    std::string state = W("Rotulagem frontal vedada: ") + ForbiddenFoodText(item) + ".";
    if (food->unlessAltered) {
        state +=
            W(" Neste item, a vedação vale enquanto nenhum ingrediente adicionado agregar "
              "açúcares adicionados, gorduras saturadas ou sódio: havendo, o selo \"ALTO EM\" "
              "se aplica somente aos nutrientes alterados por esses ingredientes.");
    }
    return state;
}

std::string OptionalMarkNotice() {
    return W("O selo \"ALTO EM\" é opcional para alimentos preparados ou fracionados e "
             "comercializados no próprio estabelecimento, para alimentos embalados no ponto de "
             "venda a pedido do consumidor e para embalagens com painel principal menor que ") +
           std::to_string(frontofpack::kOptionalBelowCm2) +
           W(" cm² (RDC 429/2020, art. 18, § 3º). Nesses casos, decida se o selo será "
             "impresso.");
}

}  // namespace velmaro
