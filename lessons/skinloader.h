#pragma once
// Skin files and the screen elements built from them.
//
// A SkinLoader belongs to one window. LoadSkin reads a skin file (".zs1") and
// creates one element per record as a child control of that window: labels
// (MyText), filled rectangles (MyShape), pictures (MyImg) and groups of tick
// boxes with a single choice (CheckGroup). The elements live until the next
// load; their controls are ordinary components of the window, in file order,
// which is also their stacking order. BackdropTint blends the tint rectangles
// (tags 201 to 299) into a window's backdrop picture (tag 200).
//
// A broken record (a value that is no integer, a record cut short by the end
// of the file) raises SkinError out of LoadSkin; the elements built before it
// stay. Callers run inside an event handler, whose guard shows the error
// through the application's standard error display.
//
// "$C" records that break the rules of the format are treated as follows:
// a group whose index lies outside 0..2 takes the slot numbered by the group
// count, and one whose slot (written or so chosen) is already taken takes the
// lowest free slot; the box positions always go to the group just created; a
// count above 6 shows six boxes (the further position pairs are read and
// dropped), a count of 0 or less shows none. A fourth group is read but
// creates nothing. Positions and sizes are held within ±100000 pixels.

#include "controls/checkboximage.h"
#include "lessons/skinreader.h"
#include "platform/ui/accessible.h"
#include "platform/ui/components.h"
#include "platform/ui/controls.h"
#include "platform/ui/exceptions.h"
#include "platform/ui/graphics.h"

#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lessons {

// A label element ("$L"): a transparent, auto-sized TLabel.
class MyText {
public:
    MyText(platform::TControl* owner, const SkinLabelRecord& record);
    ~MyText();
    MyText(const MyText&) = delete;
    MyText& operator=(const MyText&) = delete;
    platform::TLabel* Label() const { return label_; }

private:
    // Guarded: should the window free its components first, nothing is freed twice.
    QPointer<platform::TLabel> label_;
};

// A rectangle element ("$S"): a TShape with fill and border colour.
class MyShape {
public:
    MyShape(platform::TControl* owner, const SkinShapeRecord& record);
    ~MyShape();
    MyShape(const MyShape&) = delete;
    MyShape& operator=(const MyShape&) = delete;
    platform::TShape* Shape() const { return shape_; }

private:
    QPointer<platform::TShape> shape_;
};

// A picture element ("$I"): a TImage that starts as an 80 × 80 red
// placeholder and takes the size of the JPEG picture read into it.
class MyImg {
public:
    MyImg(platform::TControl* owner, const SkinPictureRecord& record);
    ~MyImg();
    MyImg(const MyImg&) = delete;
    MyImg& operator=(const MyImg&) = delete;
    platform::TImage* Image() const { return image_; }

    // Reads the JPEG file `ansiName` (relative to the program folder) into
    // the picture. A missing file keeps the placeholder; false when the file
    // is there but is no readable JPEG (the placeholder stays as well).
    bool ReadPicture(const std::string& ansiName);

private:
    QPointer<platform::TImage> image_;
};

// A group of six tick boxes ("$C"), of which the first `Count` show; at most
// one box is ticked, and a tick can only move to another box.
class CheckGroup {
public:
    static constexpr int kBoxes = 6;
    static constexpr int kBoxSize = 12;

    CheckGroup(platform::TControl* owner, int index, int count, const platform::TBitmap* emptyBox,
               const platform::TBitmap* tickedBox);
    ~CheckGroup();
    CheckGroup(const CheckGroup&) = delete;
    CheckGroup& operator=(const CheckGroup&) = delete;

    // 0 when no box is ticked, else the ticked box (1 to 6).
    int Selected() const { return selected_; }
    int Index() const { return index_; }
    int Count() const { return count_; }
    // Box `number` (1 to 6) and its ticked flag (0 or 1).
    controls::TCheckBoxImage* Box(int number) const { return boxes_.at(number - 1).image; }
    std::uint8_t Ticked(int number) const { return boxes_.at(number - 1).ticked; }

    // A click on box `number` (1 to 6): ticks it and unticks the one ticked before.
    void BoxClick(int number);
    void MoveBox(int number, int left, int top);

private:
    struct BoxEntry {
        QPointer<controls::TCheckBoxImage> image;
        std::uint8_t ticked = 0;
    };

    int selected_ = 0;
    const platform::TBitmap* emptyBox_;
    const platform::TBitmap* tickedBox_;
    int index_;
    int count_;
    std::array<BoxEntry, kBoxes> boxes_;
    // The arrow keys move between the group's boxes.
    QPointer<platform::TControlList> arrows_;
};

// Reads skin files into screen elements of its window (see the file comment).
class SkinLoader {
public:
    static constexpr int kGroupSlots = 3;

    explicit SkinLoader(platform::TControl* owner);
    ~SkinLoader();
    SkinLoader(const SkinLoader&) = delete;
    SkinLoader& operator=(const SkinLoader&) = delete;

    // Replaces all elements by those of the file `fileName` (relative to the
    // current folder, backslashes and letter case as the course writes them).
    // False when the file does not exist or its line 0 does not begin with
    // `expectedHeader` (the expected header "0" accepts any); true otherwise.
    bool LoadSkin(const QString& fileName, const QString& expectedHeader);
    // Destroys every element and its control: texts, pictures, rectangles
    // (each list newest first), then the groups from the highest slot down.
    void ClearElements();

    // Called when a picture record names a file that is there but is no
    // readable JPEG, with the name as the record writes it; loading goes on.
    // The window that owns the loader tells the learner.
    std::function<void(const std::string& fileName)> OnPictureError;

    platform::TControl* Owner() const { return owner_; }
    // Line 0 of the last file read ("0" while none with lines was read).
    const std::string& Header() const { return header_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    // The element lists, newest element first.
    const std::vector<std::unique_ptr<MyText>>& Texts() const { return texts_; }
    const std::vector<std::unique_ptr<MyImg>>& Pictures() const { return pictures_; }
    const std::vector<std::unique_ptr<MyShape>>& Shapes() const { return shapes_; }
    // Group slot 0 to 2, or nullptr when no group was created there.
    CheckGroup* Group(int slot) const;
    int GroupCount() const { return groupCount_; }
    const platform::TBitmap* EmptyBox() const { return &emptyBox_; }
    const platform::TBitmap* TickedBox() const { return &tickedBox_; }

private:
    void ReadRecords();
    void Build(const SkinRecord& record);
    void BuildGroup(const SkinGroupRecord& record);
    int SlotFor(int index) const;

    platform::TControl* owner_;
    std::vector<std::string> lines_;
    std::string header_ = "0";
    std::vector<std::unique_ptr<MyText>> texts_;
    std::vector<std::unique_ptr<MyImg>> pictures_;
    std::vector<std::unique_ptr<MyShape>> shapes_;
    std::array<std::unique_ptr<CheckGroup>, kGroupSlots> groups_;
    int groupCount_ = 0;
    platform::TBitmap emptyBox_;
    platform::TBitmap tickedBox_;
};

// Blends every tint rectangle of `window` (a TShape among its components
// with a tag strictly between 200 and 300) into the backdrop `picture`, then
// hides the rectangle. With p = tag − 200 and c a channel of the fill colour:
// new = trunc((trunc(p × old × 0.01) mod 256) + c × (100 − p) × 0.01).
void BackdropTint(platform::TControl* window, platform::TImage* picture);

} // namespace lessons
