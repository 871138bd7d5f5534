#pragma once
#include <QString>

namespace gyrel::ui {
class GyrelApp;

// Walks the program through a short session on the simulated encoder and saves
// a picture of each window on the way into `folder`: "main.png" (on line),
// "editor.png" and "graph.png" (a program and its graph, where the model has
// one), "origin.png" (after a read of presets and origins, where the model has
// them), "download.png" (while sending) and "download-end.png" (its outcome). Then the main window closes. exitCode
// becomes 1 when a picture cannot be written.
void scheduleGallery(GyrelApp& app, const QString& folder, int& exitCode);

}  // namespace gyrel::ui
