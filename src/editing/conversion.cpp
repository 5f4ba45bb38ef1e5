#include "editing/conversion.h"

namespace zelvor::editing {

namespace {

int divisorOf(Conversion conversion) {
    switch (conversion) {
        case Conversion::Div5:
            return 5;
        case Conversion::Div10:
            return 10;
        case Conversion::Div50:
            return 50;
        case Conversion::Div100:
            return 100;
        case Conversion::Div250:
            return 250;
        default:
            return 1;
    }
}

int rawStored(Conversion conversion, int position) {
    switch (conversion) {
        case Conversion::Raw:
            return position;
        case Conversion::Plus100:
            return position + 100;
        case Conversion::Minus100:
            return position - 100;
        case Conversion::Tps100:
            return position / 10 + 6;
        case Conversion::Idle:
            return (position - 500) / 10;
        default:
            return position / divisorOf(conversion);
    }
}

}  // namespace

unsigned toStored(Conversion conversion, int position, model::Width width) {
    const unsigned mask = width == model::Width::Word ? 0xFFFFu : 0xFFu;
    return static_cast<unsigned>(rawStored(conversion, position)) & mask;
}

int toPosition(Conversion conversion, unsigned stored) {
    const int value = static_cast<int>(stored);
    switch (conversion) {
        case Conversion::Raw:
            return value;
        case Conversion::Plus100:
            return value - 100;
        case Conversion::Minus100:
            return value + 100;
        case Conversion::Tps100:
            return value * 10 + 2500;
        case Conversion::Idle:
            return value * 10 + 500;
        default:
            return value * divisorOf(conversion);
    }
}

}  // namespace zelvor::editing
