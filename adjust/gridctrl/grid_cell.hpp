#pragma once
// The cells of the grid control. Every cell carries its own text, state bits,
// format, colours, font, margin, image index and a caller's data word;
// whatever it leaves unset (FORMAT_DEFAULT, MARGIN_DEFAULT, CLR_DEFAULT, no
// font) is taken from one of the grid's four default cells. A cell draws and
// measures itself (grid_cell_drawing.cpp) and opens its own in-place editor.

#include "gridctrl/grid_types.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class wxDC;
class wxFont;
class wxWindow;

namespace gridctrl {

class GridModel;
class CGridDefaultCell;

class CGridCellBase {
public:
    CGridCellBase() = default;
    virtual ~CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;

    virtual void SetText(const std::string& text) = 0;
    virtual void SetImage(int image) = 0;
    virtual void SetDataWord(std::intptr_t data) = 0;
    virtual void SetState(unsigned state) { state_ = state; }
    virtual void SetFormat(unsigned format) = 0;
    virtual void SetTextColour(COLORREF colour) = 0;
    virtual void SetBackColour(COLORREF colour) = 0;
    // Null frees the cell's own font, so it follows its default cell again.
    virtual void SetFont(const CellFont* font) = 0;
    virtual void SetMargin(int margin) = 0;
    virtual void SetGrid(GridModel* grid) = 0;
    virtual void SetPosition(int /*row*/, int /*col*/) {}

    virtual std::string GetText() const = 0;
    virtual std::string GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual std::intptr_t GetDataWord() const = 0;
    virtual unsigned GetState() const { return state_; }
    // The effective format: the own one, else the default cell's (0 without one).
    virtual unsigned GetFormat() const = 0;
    virtual COLORREF GetTextColour() const = 0;
    virtual COLORREF GetBackColour() const = 0;
    // The effective font: the own one, else the default cell's (null without one).
    virtual const CellFont* GetFont() const = 0;
    // The toolkit font to draw with, made from GetFont (a null font when none).
    virtual wxFont GetFontObject() const;
    virtual GridModel* GetGrid() const = 0;
    virtual wxWindow* GetEditWindow() const = 0;
    virtual int GetMargin() const = 0;
    // The grid's default cell for this cell's fixed bits; null without a grid.
    virtual CGridDefaultCell* GetDefaultCell() const;
    virtual bool HasDefaultFont() const = 0;
    virtual bool IsEditing() const = 0;

    unsigned IsFocused() const { return GetState() & GRIDSTATE_FOCUSED; }
    unsigned IsFixed() const { return GetState() & GRIDSTATE_FIXED; }
    unsigned IsFixedColumn() const { return GetState() & GRIDSTATE_FIXEDCOL; }
    unsigned IsFixedRow() const { return GetState() & GRIDSTATE_FIXEDROW; }
    unsigned IsSelected() const { return GetState() & GRIDSTATE_SELECTED; }
    unsigned IsReadOnly() const { return GetState() & GRIDSTATE_READONLY; }
    unsigned IsModified() const { return GetState() & GRIDSTATE_MODIFIED; }
    unsigned IsDropTarget() const { return GetState() & GRIDSTATE_DROPHILITED; }

    // Takes the source's settings; format and margin as effective values.
    virtual void CopySettings(const CGridCellBase& source);
    virtual void Reset() { state_ = 0; }

    // Drawing and measuring (grid_cell_drawing.cpp). Rectangles follow the
    // grid geometry: right and bottom are the cell's last pixels.
    virtual bool Draw(wxDC* dc, int row, int col, GridRect rect, bool eraseBackground = true);
    virtual bool GetTextArea(GridRect* rect);
    virtual bool GetTipArea(GridRect* rect) { return GetTextArea(rect); }
    virtual GridSize MeasureText(const std::string* text, wxDC* dc);
    virtual GridSize MeasureCell(wxDC* dc);
    virtual bool DrawForPrint(wxDC* dc, int row, int col, GridRect rect);

    // Editing: opens the cell's in-place editor over `rect`.
    virtual bool StartEdit(int /*row*/, int /*col*/, GridRect /*rect*/, int /*pointX*/,
                           int /*pointY*/, int /*id*/, unsigned /*firstChar*/) {
        return false;
    }
    virtual bool AcceptEditedText(const std::string& /*text*/) { return true; }
    virtual void StopEdit() {}
    virtual void EditEnded() {}

    // Mouse hooks; points are relative to the cell's top-left corner.
    virtual void NotifyHover() {}
    virtual void NotifyClick(int /*x*/, int /*y*/) {}
    virtual void NotifyClickDown(int /*x*/, int /*y*/) {}
    virtual void NotifyRightClick(int /*x*/, int /*y*/) {}
    virtual void NotifyDoubleClick(int /*x*/, int /*y*/) {}
    // Sets the pointer shape over the cell; true when it did.
    virtual bool ChooseCursor();

private:
    unsigned state_ = 0;
};

class CGridCell : public CGridCellBase {
public:
    CGridCell() { Reset(); }

    void SetText(const std::string& text) override { text_ = text; }
    void SetImage(int image) override { image_ = image; }
    void SetDataWord(std::intptr_t data) override { data_ = data; }
    void SetFormat(unsigned format) override { format_ = format; }
    void SetTextColour(COLORREF colour) override { textColour_ = colour; }
    void SetBackColour(COLORREF colour) override { backColour_ = colour; }
    void SetFont(const CellFont* font) override;
    void SetMargin(int margin) override { margin_ = margin; }
    void SetGrid(GridModel* grid) override { grid_ = grid; }

    std::string GetText() const override { return text_; }
    int GetImage() const override { return image_; }
    std::intptr_t GetDataWord() const override { return data_; }
    unsigned GetFormat() const override;
    COLORREF GetTextColour() const override { return textColour_; }
    COLORREF GetBackColour() const override { return backColour_; }
    const CellFont* GetFont() const override;
    GridModel* GetGrid() const override { return grid_; }
    wxWindow* GetEditWindow() const override { return editWindow_; }
    int GetMargin() const override;
    bool HasDefaultFont() const override { return !font_.has_value(); }
    bool IsEditing() const override { return editing_; }

    void Reset() override;
    bool StartEdit(int row, int col, GridRect rect, int pointX, int pointY, int id,
                   unsigned firstChar) override;
    void StopEdit() override;
    void EditEnded() override;

protected:
    // The own values, without the default cell's fallback.
    const std::optional<CellFont>& ownFont() const { return font_; }
    void beginEditing(wxWindow* editor);
    // Keeps an editor whose window was made; deletes one that could not be
    // made and leaves the cell not editing. Returns whether it was made.
    bool adoptEditor(wxWindow* editor, bool created);
    void setEditing(bool editing) { editing_ = editing; }

private:
    std::string text_;
    std::intptr_t data_ = 0;
    int image_ = -1;
    unsigned format_ = FORMAT_DEFAULT;
    COLORREF textColour_ = CLR_DEFAULT;
    COLORREF backColour_ = CLR_DEFAULT;
    std::optional<CellFont> font_;
    int margin_ = MARGIN_DEFAULT;
    bool editing_ = false;
    GridModel* grid_ = nullptr;
    wxWindow* editWindow_ = nullptr;
};

// The template of one kind of cell (ordinary, fixed row, fixed column,
// corner): its colours, format, margin and font are what cells of that kind
// inherit, and its width and height are the grid's default sizes.
class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell();

    void SetDataWord(std::intptr_t) override {}
    void SetState(unsigned) override {}
    // A default cell always reports read-only.
    unsigned GetState() const override { return CGridCell::GetState() | GRIDSTATE_READONLY; }
    // Also measures the default margin, width and height with the new font.
    void SetFont(const CellFont* font) override;
    const CellFont* GetFont() const override;

    virtual unsigned GetStyle() const { return style_; }
    virtual void SetStyle(unsigned style) { style_ = style; }
    virtual int GetWidth() const { return width_; }
    virtual int GetHeight() const { return height_; }
    virtual void SetWidth(int width) { width_ = width; }
    virtual void SetHeight(int height) { height_ = height; }

private:
    int width_ = 30;
    int height_ = 10;
    unsigned style_ = 0;
};

// How the grid makes cells of a chosen class.
using CellFactory = std::unique_ptr<CGridCellBase> (*)();
template <class Cell> std::unique_ptr<CGridCellBase> makeCell() {
    return std::make_unique<Cell>();
}
template <class Cell> CellFactory cellClass() {
    return &makeCell<Cell>;
}

} // namespace gridctrl
