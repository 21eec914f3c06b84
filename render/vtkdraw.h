// vtkdraw: the scene builder. Draws the model record into any VTK render window (the
// main window's widget, or an offscreen window for batch pictures) and keeps, per actor
// group, the objects that a result step later moves and colours in place.
//
//   vtkdraw draw(renderWindow);
//   draw.drawModel();                       // every group, camera fitted, rendered
//   draw.setView("XY+"); draw.resetCamera(); draw.render();
//   draw.attachResultScalars(); draw.deformFrames(scale, x, y, z, s2); ...; draw.render();
#pragma once

#include <QColor>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVector>

#include <vtkSmartPointer.h>
#include <memory>

#include "PickIndex.h"

class LabelLayer;
class NodeIndex;
class UndeformedGhost;
class customMouseInteractorStyle;
struct DiagramCurve;
struct LineItems;
struct SceneAnnotations;
struct SceneInspection;
class vtkActor;
class vtkActor2D;
class vtkFloatArray;
class vtkIntArray;
class vtkLookupTable;
class vtkMapper;
class vtkOrientationMarkerWidget;
class vtkPoints;
class vtkPointSet;
class vtkPolyData;
class vtkRenderWindow;
class vtkRenderWindowInteractor;
class vtkRenderer;
class vtkScalarBarWidget;
class vtkTextWidget;

// What one actor group keeps between builds. Every vertex, line end and element corner
// has its own point, numbered in build order; the scalar array follows the same order.
struct GroupStore {
    vtkSmartPointer<vtkPoints> points;
    vtkSmartPointer<vtkPointSet> dataSet;    // vtkPolyData, or vtkUnstructuredGrid for solids
    vtkSmartPointer<vtkFloatArray> scalars;  // element groups only; attached by result display
    vtkSmartPointer<vtkMapper> mapper;       // vtkPolyDataMapper, or vtkDataSetMapper for solids
    vtkSmartPointer<vtkIntArray> tags;       // one tag per vertex or element cell
    vtkSmartPointer<vtkActor> actor;         // null when the last build stopped at an unknown node
    vtkSmartPointer<vtkActor> edgeActor;     // areas and solids only
    vtkSmartPointer<vtkPolyData> labelData;  // label anchor points carrying the tags; made when first drawn
    vtkSmartPointer<vtkActor2D> labelActor;  // kept from the previous build when a build stops
    QVector<int> nodePositions;              // per point: its node's first position in nodeTags
    QVector<int> entries;  // per cell: its entry in the record's node, element, equalDOF or rigid-link lists
    double opacity = 1.0, edgeOpacity = 1.0;  // the settings' look, kept while a contour is opaque
};

// What a click in the view found: the entry (position in the record's lists) of a node or element.
struct PickedItem {
    enum Kind { Nothing, Node, Element };
    Kind kind = Nothing;
    int entry = -1;
    bool found() const { return kind != Nothing; }
};

class vtkdraw : public QObject {
    Q_OBJECT
public:
    enum Group { FreeNodes, FixedNodes, Frames, EqualDOF, RigidLinks, ThreeNode, FourNode, EightNode };
    static constexpr int groupCount = 8;

    explicit vtkdraw(vtkRenderWindow* renderWindow, QObject* parent = nullptr);
    ~vtkdraw() override;

    // The settings file read at each use; the application's file unless changed.
    void setSettingsPath(const QString& path) { m_settingsPath = path; }
    QString settingsPath() const { return m_settingsPath; }

    void updateBackground();
    void clearScene();
    void createScalarBarWidget();
    void drawFreeNodes();
    void drawFixedNodes();
    void drawFrames();
    void drawEqualDOF();
    void drawRigidLinks();
    void drawThreeNodeElements();
    void drawFourNodeElements();
    void drawEightNodeElements();
    // The whole rebuild after a script was read: clear, every group, fit, render.
    void drawModel();
    void resetCamera();
    void render();
    // "XYZ", "XY+", "XY-", "XZ+", "XZ-", "YZ+", "YZ-", "PerspectiveOn", "PerspectiveOff".
    void setView(const QString& view);
    void rotateView(bool positive);
    void showFreeNodeLabels(bool on);
    void showFixedNodeLabels(bool on);
    void showElementLabels(bool on);
    // Each render draws only the shown tags that fit the view side by side. Empty when it drew
    // them all; otherwise how many it drew, for the status bar.
    QString labelNote() const;
    // Result display. A step moves each group's points to node + scale x displacement (one
    // value per node in each vector) and colours the element groups by values normalised to
    // [0, 1] in the group's point order; empty or wrongly sized values give the middle colour.
    // A group is left as it is when a displacement vector holds fewer values than there are nodes.
    // The legend (scalar bar) names what it shows and labels its range in readable numbers; its
    // labels follow every change of the range.
    void setScalarRange(double min, double max);
    void setLegendTitle(const QString& title);
    QString legendTitle() const { return m_legendTitle; }
    void showScalarBar();
    // An element group coloured by a result is drawn opaque, so that its colours match the legend;
    // under any result the undeformed model stays as a faint outline unless switched off.
    void attachResultScalars();
    void setUndeformedGhost(bool on);
    // True from the first result step after a build until the next build.
    bool resultShown() const { return m_resultShown; }
    bool undeformedGhost() const { return m_ghostWanted; }
    // The outline of one group's undeformed shape; null before a result step was shown.
    vtkActor* ghostActor(Group g) const;
    void deformFreeNodes(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                         const QVector<double>& dispZ);
    void deformFixedNodes(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                          const QVector<double>& dispZ);
    void deformEqualDOF(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                        const QVector<double>& dispZ);
    void deformRigidLinks(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                          const QVector<double>& dispZ);
    void deformFrames(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                      const QVector<double>& dispZ, const QVector<double>& values);
    void deformThreeNodeElements(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                                 const QVector<double>& dispZ, const QVector<double>& values);
    void deformFourNodeElements(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                                const QVector<double>& dispZ, const QVector<double>& values);
    void deformEightNodeElements(double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                                 const QVector<double>& dispZ, const QVector<double>& values);
    // Inspection. pick() finds the node or element drawn under display position (X, Y) (VTK's
    // display coordinates, origin bottom left), deformed points where they are drawn; a node
    // wins over the elements around it unless a face hides it. highlight() outlines items in a
    // contrasting colour on top of the model, replacing the last highlight, and returns how many
    // drawn items it outlines; the next build removes it.
    PickedItem pick(int x, int y);
    int highlight(const PickedItem& item);
    int highlight(const LineItems& items);
    void clearHighlight();
    bool hasHighlight() const;
    QColor highlightColor() const;
    // Symbols over the model. Supports (cones for restrained translations, rings for rotations) and
    // zero-length springs come with every build; local axes and loads follow their switches,
    // which stay set across builds (PATTERN: a pattern tag, -1 for all). A diagram is drawn until
    // the next build or clearDiagram; SCALE is the drawn length of a unit value.
    void showLocalAxes(bool on);
    void showLoads(bool on, int pattern = -1);
    bool localAxesShown() const;
    bool loadsShown() const;
    int loadPattern() const;
    void showDiagram(const QVector<DiagramCurve>& curves, double scale);
    void clearDiagram();
    bool hasDiagram() const;
    // When on, the first build of a 3-D model (ndm 3) turns the camera to the "XYZ" view; later
    // builds keep the user's direction.
    void setIsometricFirst3DView(bool on) { m_isometricFirst3D = on; }

    // Writes the view at three times its size; the format follows the extension (png, bmp,
    // jpg or jpeg, any case). False with a reason when nothing usable was written.
    bool capture(const QString& fileName, QString* error = nullptr);

    const GroupStore& group(Group g) const { return m_groups[g]; }
    vtkRenderWindow* renderWindow() const;
    vtkRenderer* renderer() const;
    customMouseInteractorStyle* style() const;
    vtkOrientationMarkerWidget* axesWidget() const;
    vtkScalarBarWidget* scalarBarWidget() const;
    vtkTextWidget* titleWidget() const;
    vtkLookupTable* contourTable() const;
    vtkLookupTable* edgeTable() const;
    double contourMin() const { return m_contourMin; }
    double contourMax() const { return m_contourMax; }

private:
    void shareLabelActors();
    void applyColor(vtkActor* actor, const QString& colorKey, const QString& transparencyKey) const;
    int sizeSetting(const QString& key) const;
    void drawNodes(Group group, bool restrained);
    void drawPairs(Group group, const QVector<int>& retained, const QVector<int>& constrained,
                   const QString& colorKey, const QString& transparencyKey);
    void drawElements(Group group, int nodeCount);
    void addEdges(Group group, const QString& colorKey, const QString& transparencyKey);
    void buildLabels(Group group, const QString& colorKey);
    void startLabelPlacement();
    void placeLabels();
    void deformGroup(Group group, double scale, const QVector<double>& dispX, const QVector<double>& dispY,
                     const QVector<double>& dispZ, const QVector<double>* values);
    void drawAnnotations();
    void swapAnnotation(vtkSmartPointer<vtkActor>& slot, vtkSmartPointer<vtkActor> actor);
    // The spring under a pick ray: its element entry, or -1.
    int pickSpring(const double from[3], const double to[3], double tolerance, double near, PickIndex::Hit* hit);
    int highlightSprings(const QSet<int>& elements, vtkRenderer* overlay, const double color[3]);
    // Positions of the model's node tags, rebuilt only when the node list changed.
    const NodeIndex& nodeIndex();
    void updateLegendLabels();

    vtkRenderWindow* m_renderWindow;
    vtkSmartPointer<vtkRenderWindowInteractor> m_ownInteractor;
    vtkSmartPointer<vtkRenderer> m_renderer;
    vtkSmartPointer<vtkOrientationMarkerWidget> m_axesWidget;
    vtkSmartPointer<vtkScalarBarWidget> m_scalarBarWidget;
    vtkSmartPointer<vtkRenderer> m_legendRenderer;  // layer 1: the model never hides the legend
    vtkSmartPointer<vtkTextWidget> m_titleWidget;
    vtkSmartPointer<customMouseInteractorStyle> m_style;
    vtkSmartPointer<vtkLookupTable> m_contourTable;
    vtkSmartPointer<vtkLookupTable> m_edgeTable;
    double m_contourMin = 0.0;
    double m_contourMax = 0.0;
    GroupStore m_groups[groupCount];
    QString m_legendTitle;
    double m_labelledMin = 0.0, m_labelledMax = 0.0;  // the range the legend's labels show
    bool m_ghostWanted = true;
    bool m_resultShown = false;  // result scalars attached since the last build
    QString m_settingsPath;
    QVector<int> m_indexedTags;  // shares the record's list while it is unchanged
    std::unique_ptr<NodeIndex> m_nodeIndex;
    std::unique_ptr<SceneInspection> m_inspection;  // picking and highlight
    std::unique_ptr<UndeformedGhost> m_ghost;       // under a result step
    std::unique_ptr<SceneAnnotations> m_annotations;
    bool m_isometricFirst3D = false;
    bool m_shown3D = false;
    std::shared_ptr<LabelLayer> m_labels;  // label anchors and placement; last, as it observes m_renderer
};
