#pragma once
// Image lists, the tool bar, the status bar and the page control.

#include "ui/buttons.h"
#include "ui/controls.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

namespace wyndo {

// An owned image list.
class TImageList {
public:
  TImageList() = default;
  // Images of Width x Height cut from a bitmap resource strip whose magenta pixels are clear.
  TImageList(const char* BitmapResource, int Width);
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;
  ~TImageList();
  HIMAGELIST Handle() const { return FHandle; }
  int Count() const;

private:
  HIMAGELIST FHandle = nullptr;
};

// A flat button of a tool bar, or a separator (an empty gap of its width).
class TToolButton : public TSpeedButton {
public:
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Index);
  bool Separator = false;

private:
  friend class TToolBar;
  class TToolBar* FToolBar = nullptr;
  int FImageIndex = -1;
};

// A row of tool buttons, left to right; hidden buttons take no room. The buttons show their
// hints (ShowHint is on).
class TToolBar : public TCustomControl {
public:
  TToolBar();
  HIMAGELIST Images() const { return FImages; }
  void SetImages(HIMAGELIST Images);
  int ButtonWidth = 39;
  int ButtonHeight = 38;
  // Adds a button (its caption, hint, image and click handler), owned by Form.
  TToolButton* AddButton(class TForm& Form, std::string_view Caption, std::string_view Hint,
                         int ImageIndex, TNotifyEvent OnClick);
  TToolButton* AddSeparator(class TForm& Form, int Width = 8);
  // Places the buttons again (after one was shown or hidden).
  void ArrangeButtons();
  // Places a control that is not a tool button (a speed button of its own kind) in the row.
  void AddControl(TControl& Control);

protected:
  void Paint(TCanvas& Canvas) override;
  void BoundsChanged() override { ArrangeButtons(); }

private:
  HIMAGELIST FImages = nullptr;
  std::vector<TControl*> FItems;
};

// The common status bar with panels of given widths (the last one takes the rest).
class TStatusBar : public TWinControl {
public:
  TStatusBar();
  void SetPanels(const std::vector<int>& Widths);
  int PanelCount() const { return static_cast<int>(FWidths.size()); }
  void SetPanelText(int Panel, std::string_view Text);
  const std::string& PanelText(int Panel) const {
    return FTexts.at(static_cast<std::size_t>(Panel));
  }

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;

private:
  void ApplyPanels();
  std::vector<int> FWidths;
  std::vector<std::string> FTexts;
};

class TPageControl;

// One page of a page control: a container for its controls.
class TTabSheet : public TWinControl {
public:
  TTabSheet();

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
};

// Tabs with one page each; the selected page is shown, the others hidden.
class TPageControl : public TWinControl {
public:
  TPageControl();
  // Adds a page with the caption as its tab, owned by Form.
  TTabSheet* AddPage(class TForm& Form, std::string_view Caption);
  // Makes an existing sheet (its caption is the tab) the next page.
  void AttachPage(TTabSheet& Page);
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Page(int Index) const { return FPages.at(static_cast<std::size_t>(Index)); }
  int ActivePageIndex() const { return FActive; }
  void SetActivePageIndex(int Index);
  bool HotTrack = true;
  bool MultiLine = true;
  TNotifyEvent OnChange;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void HandleCreated() override;
  TBounds AlignArea() const override;

private:
  void ShowActivePage();
  std::vector<TTabSheet*> FPages;
  int FActive = 0;
};

} // namespace wyndo
