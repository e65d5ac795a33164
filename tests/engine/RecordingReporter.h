#pragma once

#include <string>
#include <vector>

#include "ConversionReporter.h"

// Stands in for the converter window: keeps what the run asked of it, in order.
class RecordingReporter final : public ConversionReporter {
public:
    struct Box {
        std::string text;
        std::string caption;
    };

    void ShowMessage(const std::string& text, const std::string& caption) override {
        calls.push_back("ShowMessage");
        boxes.push_back({text, caption});
    }
    void ReadBoxes() override { calls.push_back("ReadBoxes"); }
    void RefreshBoxes() override { calls.push_back("RefreshBoxes"); }

    std::vector<std::string> calls;
    std::vector<Box> boxes;
};
