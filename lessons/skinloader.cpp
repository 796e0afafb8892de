#include "lessons/skinloader.h"

#include "platform/core/cp1252.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"
#include "platform/core/pathresolver.h"
#include "platform/ui/jpegbitmap.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <type_traits>

namespace lessons {

using namespace platform;

namespace {

constexpr int kPlaceholderSize = 80;
constexpr TColor kPlaceholderColour = 255; // red
// The largest character height a skin label gets; sizes beyond it are no
// real content and would only make the font engine work for nothing.
constexpr int kMaxFontPixels = 1000;

// Positions and sizes from a file are held within this many pixels: the
// window system's geometry cannot hold the whole integer range, and no screen
// comes near it.
constexpr int kMaxCoordinate = 100000;

int Coordinate(std::int32_t value) { return std::clamp(value, -kMaxCoordinate, kMaxCoordinate); }
int Extent(std::int32_t value) { return std::clamp(value, 0, kMaxCoordinate); }

// Colours are 0x00BBGGRR; a value with bits above them keeps its colour bytes.
TColor ColourOf(std::int32_t value) { return static_cast<TColor>(value) & 0xFFFFFF; }

TFontStyles StyleOf(std::int32_t code) {
    if (code < 1 || code > 7) return 0;
    TFontStyles style = 0;
    if (code & 1) style |= fsBold;
    if (code & 2) style |= fsItalic;
    if (code & 4) style |= fsUnderline;
    return style;
}

bool IsFile(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).isFile();
}

void FillBitmap(TBitmap* bitmap, int width, int height, TColor colour) {
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetStyle(bsSolid);
    bitmap->Canvas()->Brush()->SetColor(colour);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
}

// The empty box: white inside, a one-pixel black frame; the ticked box adds
// the black square (3,3)..(9,9), right and bottom edges excluded.
void MakeBoxPictures(TBitmap* empty, TBitmap* ticked) {
    const int size = CheckGroup::kBoxSize;
    FillBitmap(empty, size, size, clWhite);
    empty->Canvas()->Brush()->SetColor(clBlack);
    empty->Canvas()->FrameRect(Rect(0, 0, size, size));
    ticked->Assign(empty);
    ticked->Canvas()->Brush()->SetStyle(bsSolid);
    ticked->Canvas()->Brush()->SetColor(clBlack);
    ticked->Canvas()->FillRect(Rect(3, 3, 9, 9));
}

} // namespace

// ---- Elements ---------------------------------------------------------------------

MyText::MyText(TControl* owner, const SkinLabelRecord& record) : label_(new TLabel(owner)) {
    int height = std::clamp(FontHeightOfSize(record.size), -kMaxFontPixels, kMaxFontPixels);
    label_->SetParent(owner);
    label_->SetLeft(Coordinate(record.left));
    label_->SetTop(Coordinate(record.top));
    label_->SetTransparent(true);
    label_->Font()->SetName(FromAnsi(record.fontName));
    label_->Font()->SetHeight(height);
    label_->Font()->SetStyle(StyleOf(record.style));
    label_->Font()->SetColor(ColourOf(record.colour));
    label_->SetCaption(FromAnsi(ExpandLineBreaks(record.text)));
    label_->SetTag(record.tag);
}

MyText::~MyText() { delete label_; }

MyShape::MyShape(TControl* owner, const SkinShapeRecord& record) : shape_(new TShape(owner)) {
    shape_->SetParent(owner);
    shape_->SetBounds(Coordinate(record.left), Coordinate(record.top), Extent(record.width),
                      Extent(record.height));
    shape_->Brush()->SetColor(ColourOf(record.fillColour));
    shape_->Pen()->SetColor(ColourOf(record.borderColour));
    shape_->SetTag(record.tag);
}

MyShape::~MyShape() { delete shape_; }

MyImg::MyImg(TControl* owner, const SkinPictureRecord& record) : image_(new TImage(owner)) {
    image_->SetParent(owner);
    image_->SetBounds(Coordinate(record.left), Coordinate(record.top), kPlaceholderSize,
                      kPlaceholderSize);
    FillBitmap(image_->Picture(), kPlaceholderSize, kPlaceholderSize, kPlaceholderColour);
    image_->SetTag(record.tag);
}

MyImg::~MyImg() { delete image_; }

bool MyImg::ReadPicture(const std::string& ansiName) {
    QDir::setCurrent(QString::fromStdString(ProgramFolder()));
    std::string path = ResolveAnsiPath(ansiName);
    if (!IsFile(path)) return true;
    if (!ReadJpegIntoBitmap(image_->Picture(), path)) return false;
    image_->SetBounds(image_->Left(), image_->Top(), image_->Picture()->Width(),
                      image_->Picture()->Height());
    return true;
}

CheckGroup::CheckGroup(TControl* owner, int index, int count, const TBitmap* emptyBox,
                       const TBitmap* tickedBox)
    : emptyBox_(emptyBox), tickedBox_(tickedBox), index_(index), count_(count),
      arrows_(new TControlList(owner, false)) {
    for (int number = 1; number <= kBoxes; ++number) {
        auto* box = new controls::TCheckBoxImage(owner);
        box->SetParent(owner);
        box->SetBounds(24 * (number - 1), 0, kBoxSize, kBoxSize);
        box->SetStretch(true);
        box->Picture()->Assign(emptyBox_);
        box->SetVisible(number <= count);
        box->OnClick = [this, number](TObject*) { BoxClick(number); };
        boxes_[number - 1].image = box;
        arrows_->Add(box);
    }
}

CheckGroup::~CheckGroup() {
    for (BoxEntry& entry : boxes_) delete entry.image;
    delete arrows_;
}

void CheckGroup::BoxClick(int number) {
    if (number < 1 || number > kBoxes || number == selected_) return;
    boxes_[number - 1].image->Picture()->Assign(tickedBox_);
    boxes_[number - 1].image->SetAccessibleChecked(true);
    if (selected_ != 0) {
        boxes_[selected_ - 1].image->Picture()->Assign(emptyBox_);
        boxes_[selected_ - 1].image->SetAccessibleChecked(false);
        boxes_[selected_ - 1].ticked = 0;
    }
    boxes_[number - 1].ticked = 1;
    selected_ = number;
}

void CheckGroup::MoveBox(int number, int left, int top) {
    controls::TCheckBoxImage* box = Box(number);
    box->SetBounds(Coordinate(left), Coordinate(top), box->Width(), box->Height());
}

// ---- Loader -----------------------------------------------------------------------

SkinLoader::SkinLoader(TControl* owner) : owner_(owner) {
    MakeBoxPictures(&emptyBox_, &tickedBox_);
}

SkinLoader::~SkinLoader() { ClearElements(); }

CheckGroup* SkinLoader::Group(int slot) const {
    if (slot < 0 || slot >= kGroupSlots) return nullptr;
    return groups_[slot].get();
}

void SkinLoader::ClearElements() {
    // Each list holds its newest element first and is destroyed from there.
    for (auto& text : texts_) text.reset();
    texts_.clear();
    for (auto& picture : pictures_) picture.reset();
    pictures_.clear();
    for (auto& shape : shapes_) shape.reset();
    shapes_.clear();
    for (int slot = kGroupSlots - 1; slot >= 0; --slot) groups_[slot].reset();
    groupCount_ = 0;
}

bool SkinLoader::LoadSkin(const QString& fileName, const QString& expectedHeader) {
    ClearElements();
    lines_.clear();
    std::string path = ResolveAnsiPath(ToAnsi(fileName));
    if (!IsFile(path)) return false;
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return false;
    lines_ = SplitSkinLines(*bytes);
    header_ = lines_.empty() ? "0" : lines_[0];

    const std::string expected = ToAnsi(expectedHeader);
    if (expected != "0" && header_.compare(0, expected.size(), expected) != 0) return false;
    ReadRecords();
    return true;
}

// Each record's element is built as soon as the record is read, so an error
// in a later record leaves the earlier elements in place.
void SkinLoader::ReadRecords() {
    SkinReader reader(lines_);
    while (std::optional<SkinRecord> record = reader.Next()) Build(*record);
}

void SkinLoader::Build(const SkinRecord& record) {
    if (auto* label = std::get_if<SkinLabelRecord>(&record)) {
        texts_.insert(texts_.begin(), std::make_unique<MyText>(owner_, *label));
    } else if (auto* shape = std::get_if<SkinShapeRecord>(&record)) {
        shapes_.insert(shapes_.begin(), std::make_unique<MyShape>(owner_, *shape));
    } else if (auto* picture = std::get_if<SkinPictureRecord>(&record)) {
        pictures_.insert(pictures_.begin(), std::make_unique<MyImg>(owner_, *picture));
        if (picture->fileName != "$$" && !pictures_.front()->ReadPicture(picture->fileName) &&
            OnPictureError)
            OnPictureError(picture->fileName);
    } else {
        BuildGroup(std::get<SkinGroupRecord>(record));
    }
}

int SkinLoader::SlotFor(int index) const {
    int slot = index >= 0 && index < kGroupSlots ? index : groupCount_;
    if (slot < kGroupSlots && !groups_[slot]) return slot;
    for (int free = 0; free < kGroupSlots; ++free)
        if (!groups_[free]) return free;
    return -1;
}

void SkinLoader::BuildGroup(const SkinGroupRecord& record) {
    if (groupCount_ >= kGroupSlots) return;
    int slot = SlotFor(record.index);
    if (slot < 0) return;
    groups_[slot] = std::make_unique<CheckGroup>(owner_, record.index, record.count, &emptyBox_,
                                                 &tickedBox_);
    ++groupCount_;
    for (std::size_t box = 0; box < record.boxes.size(); ++box)
        groups_[slot]->MoveBox(static_cast<int>(box) + 1, record.boxes[box].first,
                               record.boxes[box].second);
}

// ---- Backdrop ---------------------------------------------------------------------

namespace {

void TintRegion(TBitmap* picture, const TRect& region, TColor fill, int share) {
    const int c[3] = {GetBValue(fill), GetGValue(fill), GetRValue(fill)};
    for (int y = region.Top; y < region.Bottom; ++y) {
        std::uint8_t* row = picture->ScanLine(y);
        for (int x = region.Left; x < region.Right; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                std::uint8_t& old = row[3 * x + channel];
                long double kept = std::fmod(std::trunc(share * old * 0.01L), 256.0L);
                old = static_cast<std::uint8_t>(kept + c[channel] * (100 - share) * 0.01L);
            }
        }
    }
    picture->Canvas()->Changed(region);
}

} // namespace

void BackdropTint(TControl* window, TImage* picture) {
    if (window == nullptr || picture == nullptr) return;
    TBitmap* bitmap = picture->Picture();
    for (int i = 0; i < window->ComponentCount(); ++i) {
        auto* shape = dynamic_cast<TShape*>(window->Components(i));
        if (shape == nullptr || shape->Tag() <= 200 || shape->Tag() >= 300) continue;
        TRect region = Bounds(shape->Left() - picture->Left(), shape->Top() - picture->Top(),
                              shape->Width(), shape->Height());
        // Only the part of the rectangle that lies on the picture changes.
        region.Left = std::max(region.Left, 0);
        region.Top = std::max(region.Top, 0);
        region.Right = std::min(region.Right, bitmap->Width());
        region.Bottom = std::min(region.Bottom, bitmap->Height());
        if (region.Width() > 0 && region.Height() > 0)
            TintRegion(bitmap, region, shape->Brush()->Color(), shape->Tag() - 200);
        shape->Hide();
    }
}

} // namespace lessons
