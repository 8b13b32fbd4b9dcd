#include "core/DialogRequest.h"

namespace wavora {

void addDialogRow(DialogRequest& request, std::uint8_t kind, const std::string& label, const std::string& value,
                  float max, float min) {
    int r = request.DialogNextRow;
    if (r < 1 || r > DialogMaxRows) return; // a programming slip must not write past the table
    DialogRow& row = request.DialogRows[static_cast<std::size_t>(r)];
    row.Kind = kind;
    row.Label = label;
    row.Value = value;
    row.Max = max;
    row.Min = min;
    request.DialogNextRow = r + 1;
}

void beginDialog(DialogRequest& request, const std::string& caption, int rowCount) {
    request.DialogCaption = caption;
    request.DialogRowCount = rowCount < 1 ? 1 : rowCount > DialogMaxRows ? DialogMaxRows : rowCount;
    request.DialogNextRow = 1;
    request.DialogRows = {};
    request.DialogAnswer = 0;
    request.RequiredChecks = 0;
    request.PreviewMode = {};
    request.ChorusPreviewTarget = 0;
    request.preview = {};
    request.effectPreview = nullptr;
    request.controlsPreview = nullptr;
    request.okAction = nullptr;
}

} // namespace wavora
