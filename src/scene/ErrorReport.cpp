#include "scene/ErrorReport.h"
#include <cstdio>

namespace {
ErrorBoxFunction errorBox = nullptr;
}

void setErrorBox(ErrorBoxFunction box) {
    errorBox = box;
}

void reportError(const char* text) {
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    if (errorBox)
        errorBox("Error", text);
}
