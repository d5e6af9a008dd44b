#include "ui/tag_buttons.h"

#include "model/cp1251.h"

namespace qs {
namespace {

constexpr std::string_view kTagHint = "Вставить указанный тэг"_cp1251;

constexpr TagButton kTagButtons[] = {
    {"[ДД.ММ.ГГГГ]"_cp1251, "Тэг вставки текущей даты"_cp1251, TagButtonPlace::TextLabel},
    {"[ЧЧ:ММ]"_cp1251, "Тэг вставки текущего времени"_cp1251, TagButtonPlace::TextLabel},
    {"[CTRLENTER]", kTagHint, TagButtonPlace::CaretRow},
    {"[TAB]", kTagHint, TagButtonPlace::CaretRow},
    {"[ENTER]", kTagHint, TagButtonPlace::CaretRow},
    {"[RIGHT]", kTagHint, TagButtonPlace::CaretRow},
    {"[LEFT]", kTagHint, TagButtonPlace::CaretRow},
    {"[UP]", kTagHint, TagButtonPlace::CaretRow},
    {"[DOWN]", kTagHint, TagButtonPlace::CaretRow},
};

}  // namespace

std::span<const TagButton> TagButtons() { return kTagButtons; }

}  // namespace qs
