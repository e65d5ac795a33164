#pragma once

#include "CString.h"
#include "ConversionReporter.h"
#include "Dialog.h"
#include "MessageMap.h"
#include "resource.h"

// The program's main window: the Input File and Output File boxes, their Browse
// buttons, Convert, Help and Quit. It holds the two stored paths and is the
// conversion's reporter.
class CConverterDialog : public CDialog, public ConversionReporter {
public:
    enum { IDD = IDD_CONVERTER_DIALOG };

    explicit CConverterDialog(CDialog* pParent = nullptr);

    // ConversionReporter
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void ReadBoxes() override;
    void RefreshBoxes() override;

    CString m_strInputFile;
    CString m_strOutputFile;

protected:
    HICON m_hIcon;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBrowseInput();
    void OnBrowseOutput();
    void OnConvert();
    void OnHelpPage();
    void OnDropFiles(HDROP hDropInfo);

    static const MessageEntry<CConverterDialog> messageMap[];
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
};
