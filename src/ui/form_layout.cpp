#include "ui/form_layout.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/system_function.h"
#include "platform/win32/wide.h"

namespace ui {

HWND ComboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

int WindowDpi(HWND hwnd) {
  // GetDpiForWindow exists from Windows 10 on; before, the system DPI holds.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      platform::SystemFunction<GetDpiForWindowFn>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  if (getDpiForWindow != nullptr && hwnd != nullptr) {
    if (const UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
  }
  const platform::WindowDc screen(nullptr);
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return dpi > 0 ? dpi : kDesignDpi;
}

HWND FormLayout::Control(ControlId id) const {
  return controls_[static_cast<std::size_t>(id - kLabel1)];
}

void FormLayout::EnableInputs(bool enabled) {
  for (const ControlSpec& entry : kControls) {
    if (entry.kind != Kind::kLabel) EnableWindow(Control(entry.id), enabled);
  }
}

int FormLayout::Scale(int pixels) const { return MulDiv(pixels, dpi_, kDesignDpi); }

void FormLayout::ChangeDpi(int dpi, const RECT& suggested) {
  anchorClient_ = {MulDiv(anchorClient_.cx, dpi, dpi_), MulDiv(anchorClient_.cy, dpi, dpi_)};
  dpi_ = dpi;
  ApplyFont();
  SetWindowPos(form_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
  SizeComboBoxes();
}

void FormLayout::CreateControls(HWND form) {
  form_ = form;
  // The controls are made at their places with their font, so that opening
  // the window moves none of them.
  MakeFont();
  RECT client;
  GetClientRect(form_, &client);
  // The buttons keep the distance to the edges they are anchored to that
  // they have in the window as it opens.
  anchorClient_ = {client.right, client.bottom};
  laidOut_ = {client.right, client.bottom, dpi_};
  {
    const platform::WindowDc dc(form_);
    const platform::SelectedObject selected(dc.Get(), font_.Get());
    for (const ControlSpec& entry : kControls) {
      controls_[static_cast<std::size_t>(entry.id - kLabel1)] = MakeControl(entry, client, dc.Get());
    }
  }
  OrderWindows();
}

HWND FormLayout::MakeControl(const ControlSpec& entry, const RECT& client, HDC dc) const {
  const WindowClass windowClass = ClassOf(entry.kind);
  const RECT place = PlaceOf(entry, client, dc);
  HWND control = CreateWindowExW(windowClass.exStyle, windowClass.name, platform::Widen(entry.text).c_str(),
                                 StyleOf(entry), place.left, place.top, place.right - place.left,
                                 place.bottom - place.top, form_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return control;
}

void FormLayout::OrderWindows() {
  // The tab order is the order of the windows, and a screen reader names a
  // field by the window just before it: each field's label goes there. The
  // labels are no tab stops, so the tab order stays.
  HWND previous = HWND_TOP;
  const auto placeNext = [&previous](HWND control) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  };
  for (int order = 0; order < static_cast<int>(std::size(kControls)); ++order) {
    for (const ControlSpec& entry : kControls) {
      if (entry.tabOrder != order) continue;
      if (entry.label != kNone) placeNext(Control(entry.label));
      placeNext(Control(entry.id));
    }
  }
}

void FormLayout::MakeFont() {
  font_.Reset(CreateFontW(-MulDiv(kWindow.fontPoints, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                          FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, platform::Widen(kWindow.fontFace).c_str()));
}

void FormLayout::ApplyFont() {
  // The font in use goes only once no control holds it any more.
  const platform::ScopedFont previous(font_.Release());
  MakeFont();
  const auto font = reinterpret_cast<WPARAM>(font_.Get());
  for (HWND control : controls_) SendMessageW(control, WM_SETFONT, font, TRUE);
  SendMessageW(tooltip_, WM_SETFONT, font, TRUE);
}

HWND FormLayout::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, kTooltipShowMs);
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTooltipHideMs);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(400));
  for (const ControlSpec& entry : kControls) {
    if (entry.tooltip == nullptr) continue;
    std::wstring text = platform::Widen(entry.tooltip);
    std::vector<HWND> targets = {Control(entry.id)};
    // A combo box with typing passes the mouse to its edit field.
    if (entry.kind == Kind::kComboBox) {
      if (HWND edit = ComboEdit(Control(entry.id))) targets.push_back(edit);
    }
    for (HWND target : targets) {
      TTTOOLINFOW tool = {};
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = form_;
      tool.uId = reinterpret_cast<UINT_PTR>(target);
      tool.lpszText = text.data();
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  return tooltip_;
}

void FormLayout::LayOut() {
  if (controls_[0] == nullptr) return;
  RECT client;
  GetClientRect(form_, &client);
  // Moving two dozen controls is not free under every system: only when
  // the window's size or scale changed.
  const LayoutKey key = {client.right, client.bottom, dpi_};
  if (key == laidOut_) return;
  laidOut_ = key;
  const platform::WindowDc dc(form_);
  const platform::SelectedObject selected(dc.Get(), font_.Get());
  HDWP positions = BeginDeferWindowPos(static_cast<int>(std::size(kControls)));
  for (const ControlSpec& entry : kControls) {
    const RECT place = PlaceOf(entry, client, dc.Get());
    positions = DeferWindowPos(positions, Control(entry.id), nullptr, place.left, place.top,
                               place.right - place.left, place.bottom - place.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
  }
  EndDeferWindowPos(positions);
}

RECT FormLayout::PlaceOf(const ControlSpec& entry, const RECT& client, HDC dc) const {
  int left = Scale(entry.left);
  int top = Scale(entry.top);
  int width = Scale(entry.width);
  int height = Scale(entry.height);
  if (entry.anchor != Anchor::kLeftTop) {
    top = client.bottom - (anchorClient_.cy - top);
  }
  if (entry.anchor == Anchor::kRightBottom) {
    left = client.right - (anchorClient_.cx - left);
  }
  if (entry.kind == Kind::kLabel && entry.text[0] != '\0') {
    // Labels take the width of their text.
    const std::wstring text = platform::Widen(entry.text);
    SIZE extent;
    if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent)) {
      width = extent.cx;
    }
  }
  if (entry.kind == Kind::kDropDownList || entry.kind == Kind::kComboBox) {
    height += Scale(kListItemHeight * kDropDownItems + 2);  // the dropped-down list
  }
  return {left, top, left + width, top + height};
}

void FormLayout::SizeComboBoxes() {
  for (const ControlSpec& entry : kControls) {
    if (entry.kind != Kind::kDropDownList && entry.kind != Kind::kComboBox) continue;
    // The closed box is as high as the table says; its entries are 13 pixels.
    HWND combo = Control(entry.id);
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, Scale(kListItemHeight));
    // Common controls 6 size the dropped-down list by this count, not by the
    // height the box was made with; shorter lists show all their entries.
    SendMessageW(combo, CB_SETMINVISIBLE, kDropDownItems, 0);
    // Systems differ in what the field height includes, so aim by measuring.
    const auto closedHeight = [combo] {
      RECT box;
      GetWindowRect(combo, &box);
      return static_cast<int>(box.bottom - box.top);
    };
    auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3 && field > 0 && closedHeight() != Scale(entry.height); ++attempt) {
      field += Scale(entry.height) - closedHeight();
      SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
  }
}

}  // namespace ui
