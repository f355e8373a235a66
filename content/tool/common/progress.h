#pragma once

// Long work told on the terminal as it goes, so that a teacher sees the tool is not stuck:
// "pages drawn 12/64, 0:35 left" on standard error. On a terminal it is one line that updates in
// place; otherwise (a log, a build) a line at every tenth of the way, no more.

#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <mutex>

namespace tool {

class Progress {
  public:
    // `what` names the pieces as they are done ("pages drawn"); `total` is how many there are.
    // `out` is where it is told (standard error unless a test asks otherwise), and `terminal`
    // whether that is a terminal (found out when not given).
    Progress(const QString& what, int total, FILE* out = stderr, int terminal = -1);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // One more piece done; safe to call from any thread.
    void step();

  private:
    QString line(int done) const;

    QString what_;
    int total_;
    FILE* out_;
    bool terminal_;
    std::mutex lock_;
    int done_ = 0;
    int toldTenths_ = 0;
    qint64 toldAt_ = -1;
    QElapsedTimer clock_;
};

}  // namespace tool
