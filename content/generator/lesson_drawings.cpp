#include "content/generator/lesson_drawings.h"

#include "content/generator/lesson_drawings_all.h"

#include <sstream>

namespace art {
namespace {

using drawing::DrawingFunction;

struct Entry {
    const char* name;
    DrawingFunction draw;
};

// The catalogue: the name an outline's "draw:" line gives, the function.
constexpr Entry kDrawings[] = {
    {"chord", drawing::DrawChord},
    {"chords", drawing::DrawChords},
    {"chart", drawing::DrawChart},
    {"hand", drawing::DrawHandOnChord},
    {"change", drawing::DrawChange},
    {"fingering", drawing::DrawFingering},
    {"fretboard", drawing::DrawExerciseNotes},
    {"tuning", drawing::DrawTuningChart},
    {"bass", drawing::DrawBassNotes},
    {"tab", drawing::DrawTab},
    {"tab-strings", drawing::DrawTabAndStrings},
    {"tuner", drawing::DrawTuner},
    {"stopwatch", drawing::DrawStopwatch},
    {"thumb", drawing::DrawThumbOnString},
    {"damp", drawing::DrawDamping},
    {"palm-mute", drawing::DrawPalmMute},
    {"strum", drawing::DrawStrum},
    {"pendulum", drawing::DrawPendulum},
    {"wrist", drawing::DrawWrist},
    {"pima", drawing::DrawPimaHand},
    {"pima-strings", drawing::DrawPimaStrings},
    {"finger-numbers", drawing::DrawFingerNumbers},
    {"pick-hold", drawing::DrawPickHold},
    {"picks", drawing::DrawPicks},
    {"peg", drawing::DrawPeg},
    {"cloth", drawing::DrawCloth},
    {"guitar", drawing::DrawGuitarFront},
    {"guitar-parts", drawing::DrawGuitarParts},
    {"strings", drawing::DrawStrings},
    {"posture", drawing::DrawPosture},
    {"learner", drawing::DrawLearner},
    {"stage", drawing::DrawStage},
    {"certificate", drawing::DrawCertificate},
    {"practice-plan", drawing::DrawPracticePlan},
    {"song-sheet", drawing::DrawSongSheet},
    {"form", drawing::DrawForm},
    {"note-values", drawing::DrawNoteValues},
    {"bar-counts", drawing::DrawBarCounts},
    {"pattern", drawing::DrawPattern},
    {"repeats", drawing::DrawRepeats},
    {"fermata", drawing::DrawFermata},
    {"stroke-signs", drawing::DrawStrokeSigns},
    {"sequence", drawing::DrawSequence},
};

} // namespace

bool DrawDrawing(QPainter& painter, const QRectF& area, const DrawingSource& source, const std::string& spec,
                 std::string& error) {
    std::istringstream words(spec);
    std::string name;
    words >> name;
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    for (const Entry& entry : kDrawings) {
        if (name != entry.name) continue;
        if (!source.lesson.exercise) {
            error = "the lesson has no exercise";
            return false;
        }
        painter.save();
        painter.translate(area.topLeft());
        drawing::Context context{painter, QRectF(QPointF(0, 0), area.size()), source, args, error, {}};
        bool ok = entry.draw(context);
        painter.restore();
        if (ok && !context.overflow.isEmpty()) {
            error = "the words '" + context.overflow.toStdString() + "' do not fit the picture";
            ok = false;
        }
        if (!ok && error.empty()) error = "cannot draw '" + spec + "'";
        if (!ok) error = "draw: " + spec + ": " + error;
        return ok;
    }
    error = "draw: no drawing is called '" + name + "'";
    return false;
}

std::vector<std::string> DrawingNames() {
    std::vector<std::string> names;
    for (const Entry& entry : kDrawings) names.push_back(entry.name);
    return names;
}

} // namespace art
