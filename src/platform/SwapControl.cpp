#include "platform/SwapControl.h"

const char* SwapControl::text(Vsync state) {
    switch (state) {
    case Vsync::On:
        return "on";
    case Vsync::Off:
        return "off";
    case Vsync::NotOffered:
        break;
    }
    return "not offered by the driver";
}
