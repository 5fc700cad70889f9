#pragma once
// The joiner's export: its clips, each with its range, volume and transition, joined into one
// new file in the output folder. The file is named by the current time and never replaces an
// existing one; a stopped or failed join leaves no file.
#include <QList>
#include <QString>

#include "model/simple_data.h"
#include "session/export/join/join_output_settings.h"
#include "session/export/join/join_pieces.h"
#include "session/jobs/job.h"

namespace kestrel::session {

class JoinExportJob : public Job {
    Q_OBJECT
public:
    // baseName: the output's name without extension (the current time when empty).
    JoinExportJob(QList<kestrel::model::SimpleDataPtr> clips, JoinOutputSettings settings, QString outputFolder,
                  QString baseName = QString(), QObject* parent = nullptr);

    const std::vector<JoinPiece>& pieces() const { return pieces_; }
    const JoinOutputSettings& settings() const { return settings_; }
    // The file being written; set once the job has started.
    const QString& outputPath() const { return outputPath_; }

protected:
    void begin() override;

private:
    std::vector<JoinPiece> pieces_;
    JoinOutputSettings settings_;
    QString outputFolder_;
    QString baseName_;
    QString outputPath_;
};

}  // namespace kestrel::session
