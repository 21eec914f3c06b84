// One `recorder Node` or `recorder Element` of the script: what it asked for, read from the Tcl
// words, and the file and live stream it writes one record per analysis step to, in the solver's
// formats (text lines of "%g" numbers; little-endian doubles framed by a count on TCP).
//
//   RecorderRequest request;
//   if (parseRecorder(objc, objv, ndf, &request).isEmpty()) recorders.emplace_back(request);
//   recorder.prepare(shapes);  recorder.record(time, stepFactor(k));  recorder.close();
#pragma once

#include <tcl.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdio>
#include <memory>

#include "StreamSink.h"

class MotionShapes;

struct RecorderRequest {
    bool isElement = false;
    QByteArray file;  // empty: no file
    bool tcp = false;
    QByteArray host;
    int port = 0;
    bool time = false;
    int precision = 6;
    QVector<int> tags;  // nodes or elements, in the order given
    QVector<int> dofs;
    QString response;  // for elements the first response word, which decides the width
};

// Reads the words of `recorder Node|Element ...`; a Node recorder without -dof takes dofs 1..NDF.
// Returns the error text, empty when the words make a recorder.
QString parseRecorder(int objc, Tcl_Obj* const objv[], int ndf, RecorderRequest* request);

class Recorder {
public:
    explicit Recorder(RecorderRequest request);
    ~Recorder() { close(); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Creates the file and connects the stream; returns what could not be opened. A recorder
    // runs on without the part that failed, as the solver's does.
    QStringList open();
    // The values at s = 1 for the model as it is now; records scale them by the step factor.
    void prepare(const MotionShapes& shapes);
    void record(double time, double factor);
    // Flushes and closes the file; sends the stream's close record and disconnects.
    void close();

private:
    void writeLine();
    void sendRecord(double first);

    RecorderRequest m_request;
    std::FILE* m_file = nullptr;
    StreamSink m_stream;
    bool m_headerSent = false;
    QVector<double> m_unit;
    QVector<double> m_row;  // the last record: time (when asked) and values
    std::string m_line;
};
