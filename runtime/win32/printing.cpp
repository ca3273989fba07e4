#include "main_window.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "dpi.h"

namespace vorlith::win32 {
namespace {

// The average width of a character of `font` as Windows measures it for
// dialog units: half of 1/26 of the 52 letters' width, rounded.
int average_char_width(HDC dc, HFONT font) {
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    SelectObject(dc, old);
    return (size.cx / 26 + 1) / 2;
}

using PrintDlgWFn = BOOL(WINAPI*)(LPPRINTDLGW);

// The printer's device context on A4 paper, or nullptr when the dialog was
// cancelled (or found no printer). comdlg32.dll is loaded on the first
// print, not as the program starts, and stays for the process's life.
HDC chosen_printer(HWND owner) {
    static const auto print_dialog =
        function_of<PrintDlgWFn>(load_system_dll(L"comdlg32.dll"), "PrintDlgW");
    if (print_dialog == nullptr) return nullptr;
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!print_dialog(&dialog)) return nullptr;
    if (dialog.hDevMode != nullptr) {
        if (auto* mode = static_cast<DEVMODEW*>(GlobalLock(dialog.hDevMode))) {
            mode->dmFields |= DM_PAPERSIZE;
            mode->dmPaperSize = DMPAPER_A4;
            ResetDCW(dialog.hDC, mode);
            GlobalUnlock(dialog.hDevMode);
        }
        GlobalFree(dialog.hDevMode);
    }
    if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
    return dialog.hDC;
}

// Pages of `lines` inside margins of 2 cm, each line wrapped at the right
// margin, in the program's font at the printer's resolution.
class PrintedPages {
public:
    explicit PrintedPages(HDC dc)
        : dc_(dc),
          dpi_(static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY))),
          font_(create_message_font(dpi_)) {
        const int margin = MulDiv(kMargin, static_cast<int>(dpi_), kTwipsPerInch);
        page_ = {margin, margin, GetDeviceCaps(dc, HORZRES) - margin,
                 GetDeviceCaps(dc, VERTRES) - margin};
        const int tab = MulDiv(kTabStop, static_cast<int>(dpi_), kTwipsPerInch);
        TEXTMETRICW metrics{};
        const HGDIOBJ old = SelectObject(dc, font_);
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        line_height_ = metrics.tmHeight + metrics.tmExternalLeading;
        // DrawTextEx counts a tab stop in average characters.
        const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
        params_.iTabLength = (tab + average - 1) / average;
    }
    PrintedPages(const PrintedPages&) = delete;
    PrintedPages& operator=(const PrintedPages&) = delete;
    ~PrintedPages() { DeleteObject(font_); }

    bool print(const std::wstring& text) {
        if (StartPage(dc_) <= 0) return false;
        SelectObject(dc_, font_);
        int top = page_.top;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos) end = text.size();
            std::wstring line = text.substr(start, end - start);
            start = end + 1;
            RECT place{page_.left, top, page_.right, page_.bottom};
            const int height = std::max(draw(line, place, DT_CALCRECT), line_height_);
            if (top + height > page_.bottom && top > page_.top) {
                if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) return false;
                SelectObject(dc_, font_);
                top = page_.top;
                place = {page_.left, top, page_.right, page_.bottom};
            }
            draw(line, place, 0);
            top += height;
        }
        return EndPage(dc_) > 0;
    }

private:
    static constexpr int kMargin = 1134;  // 2 cm in twips

    int draw(std::wstring& line, RECT& place, UINT more) {
        constexpr UINT kFormat = DT_EXPANDTABS | DT_TABSTOP | DT_NOPREFIX | DT_WORDBREAK;
        return DrawTextExW(dc_, line.data(), static_cast<int>(line.size()), &place, kFormat | more,
                           &params_);
    }

    HDC dc_;
    UINT dpi_;
    HFONT font_;
    RECT page_{};
    int line_height_ = 0;
    DRAWTEXTPARAMS params_{sizeof(DRAWTEXTPARAMS), 4, 0, 0, 0};
};

}  // namespace

void set_tab_stop(HWND view, HFONT font, UINT dpi) {
    HDC dc = GetDC(view);
    const int average = average_char_width(dc, font);
    ReleaseDC(view, dc);
    const int pixels = twips_to_pixels(kTabStop, dpi);
    int dialog_units = average > 0 ? MulDiv(pixels, 4, average) : 32;
    SendMessageW(view, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&dialog_units));
    InvalidateRect(view, nullptr, TRUE);
}

// Owned by the window active (the form whose 打印… was pressed), so that
// the dialog comes up over it and it takes no input meanwhile.
void MainWindow::print_text(std::string_view title, std::string_view utf8) {
    HWND owner = GetActiveWindow();
    HDC dc = chosen_printer(owner != nullptr ? owner : window_);
    if (dc == nullptr) return;
    const std::wstring name = widen(title);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    if (StartDocW(dc, &document) > 0) {
        PrintedPages pages(dc);
        if (pages.print(widen(utf8))) {
            EndDoc(dc);
        } else {
            AbortDoc(dc);
        }
    }
    DeleteDC(dc);
}

// Lines end in CR LF, which word processors paste as lines.
void MainWindow::copy_text(std::string_view utf8) {
    const std::wstring text = with_crlf(utf8);
    if (!OpenClipboard(window_)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* to = GlobalLock(memory)) {
            std::memcpy(to, text.c_str(), bytes);
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

}  // namespace vorlith::win32
