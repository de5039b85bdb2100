#include "app/DisplayMode.h"

DisplayMode DisplayMode::fromCode(int code) {
    switch (code) {
    case 1: return {"640x480:32@60", 640, 480};
    case 2: return {"800x600:32@60", 800, 600};
    case 4: return {"1280x1024:32@60", 1280, 1024};
    case 5: return {"1600x1200:32@60", 1600, 1200};
    case 6: return {"1920x1600:32@60", 1920, 1600};
    default: return {"1024x768:32@60", 1024, 768};
    }
}
