#pragma once

#include <string>

// What a conversion needs from the window that started it. The converter dialog
// implements it; the command-line tool and the tests have their own.
class ConversionReporter {
public:
    // Shows a box modal to the host with one OK button and no icon; returns once dismissed.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Copies the Input File and Output File boxes into the stored paths.
    virtual void ReadBoxes() = 0;
    // Copies the stored paths back into the two boxes.
    virtual void RefreshBoxes() = 0;

protected:
    ~ConversionReporter() = default;
};
