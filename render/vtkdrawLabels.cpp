// Tag labels: one 2-D actor per group, built with the geometry but shown only through the label
// switches. A build keeps only what the anchors will be made from; the anchors (cell centres of
// the undeformed geometry) are made when the group's labels are first drawn, and before every
// render the tags that fit the view side by side are chosen, so that a switch costs the same for
// a portal frame and for 150,000 elements: the text of every tag of a large model would take
// minutes and gigabytes, and could not be read anyway.
#include "vtkdraw.h"

#include <QColor>

#include <algorithm>
#include <string>
#include <vector>

#include <vtkActor2D.h>
#include <vtkCallbackCommand.h>
#include <vtkCamera.h>
#include <vtkIntArray.h>
#include <vtkLabeledDataMapper.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkProperty2D.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkTextProperty.h>
#include <vtkTextRenderer.h>

#include "ModelRecord.h"
#include "SettingsStore.h"

// What a group's label actor was built from, and what it draws now.
struct LabelSource {
    int corners = 0;             // points per cell: 1 for nodes, 2 to 8 for elements
    QVector<int> nodePositions;  // per point, as the build recorded it
    QVector<double> x, y, z;     // the model's coordinates at the build (shared, not copied)
    vtkSmartPointer<vtkIntArray> tags;
    vtkSmartPointer<vtkPolyData> drawn;  // the mapper's input: the tags chosen for the view
    std::vector<vtkIdType> chosen;       // anchor numbers behind drawn
    // The box of the longest tag, and the font size and resolution it was measured for.
    double box[2] = {0.0, 0.0};
    int measuredFor[2] = {-1, -1};
};

class LabelLayer {
public:
    LabelLayer(GroupStore* groups, vtkRenderer* renderer) : m_groups(groups), m_renderer(renderer)
    {
        m_observer->SetClientData(this);
        m_observer->SetCallback(
            [](vtkObject*, unsigned long, void* self, void*) { static_cast<LabelLayer*>(self)->place(); });
        m_renderer->AddObserver(vtkCommand::StartEvent, m_observer);
    }
    ~LabelLayer() { m_renderer->RemoveObserver(m_observer); }
    LabelLayer(const LabelLayer&) = delete;
    LabelLayer& operator=(const LabelLayer&) = delete;

    LabelSource& source(int group) { return m_sources[group]; }
    void place();
    int drawnCount() const { return m_drawn; }
    int shownCount() const { return m_shown; }

private:
    // A label's box in pixels, from its anchor up and to the right (the text's default justification).
    struct Box {
        double x, y, w, h;
    };
    // One placed label per cell of a grid whose cells are as large as the largest label, so that
    // a new label can only overlap those of the nine cells around it.
    class Grid {
    public:
        Grid(int width, int height, double cellW, double cellH)
            : m_cellW(cellW),
              m_cellH(cellH),
              m_columns(int(width / cellW) + 1),
              m_rows(int(height / cellH) + 1),
              m_cells(size_t(m_columns) * size_t(m_rows), -1)
        {
        }
        bool take(const Box& b)
        {
            const int cx = int(b.x / m_cellW), cy = int(b.y / m_cellH);
            if (cx < 0 || cy < 0 || cx >= m_columns || cy >= m_rows || m_cells[index(cx, cy)] >= 0)
                return false;
            for (int j = std::max(0, cy - 1); j <= std::min(m_rows - 1, cy + 1); ++j) {
                for (int i = std::max(0, cx - 1); i <= std::min(m_columns - 1, cx + 1); ++i) {
                    const int other = m_cells[index(i, j)];
                    if (other >= 0 && overlap(b, m_boxes[size_t(other)]))
                        return false;
                }
            }
            m_cells[index(cx, cy)] = int(m_boxes.size());
            m_boxes.push_back(b);
            return true;
        }

    private:
        size_t index(int i, int j) const { return size_t(j) * size_t(m_columns) + size_t(i); }
        static bool overlap(const Box& a, const Box& b)
        {
            return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
        }
        double m_cellW, m_cellH;
        int m_columns, m_rows;
        std::vector<int> m_cells;
        std::vector<Box> m_boxes;
    };

    void makeAnchors(int group);
    bool isDrawn(int group) const;
    static void measure(LabelSource& s, vtkTextProperty* text, int dpi);
    static void setDrawn(LabelSource& s, vtkPolyData* anchors, std::vector<vtkIdType> chosen);

    GroupStore* m_groups;
    vtkRenderer* m_renderer;
    vtkNew<vtkCallbackCommand> m_observer;
    LabelSource m_sources[vtkdraw::groupCount];
    std::vector<double> m_placedFor;  // what the last placement depended on
    int m_drawn = 0;
    int m_shown = 0;
};

namespace {

// Labels are drawn in this order of precedence where they would overlap.
const vtkdraw::Group labelGroups[] = {vtkdraw::FreeNodes, vtkdraw::FixedNodes, vtkdraw::Frames,
                                      vtkdraw::ThreeNode, vtkdraw::FourNode,   vtkdraw::EightNode};

// Pixels kept free around a label.
const double kMargin = 4.0;

}  // namespace

bool LabelLayer::isDrawn(int group) const
{
    vtkActor2D* actor = m_groups[group].labelActor;
    return actor && actor->GetVisibility() && m_renderer->HasViewProp(actor);
}

// Centres of the build's cells from the coordinates it was made of, so that labels stay at the
// undeformed positions whatever result step the points show now.
void LabelLayer::makeAnchors(int group)
{
    LabelSource& s = m_sources[group];
    GroupStore& g = m_groups[group];
    const int cells = s.tags ? int(s.tags->GetNumberOfTuples()) : 0;
    const int n = s.corners;
    const int nodes = std::min({s.x.size(), s.y.size(), s.z.size()});
    vtkNew<vtkPoints> anchors;
    anchors->SetNumberOfPoints(cells);
    for (int c = 0; c < cells; ++c) {
        double sum[3] = {0.0, 0.0, 0.0};
        for (int k = c * n; k < (c + 1) * n && k < s.nodePositions.size(); ++k) {
            const int j = s.nodePositions[k];
            if (j < 0 || j >= nodes)
                continue;
            sum[0] += s.x[j];
            sum[1] += s.y[j];
            sum[2] += s.z[j];
        }
        anchors->SetPoint(c, sum[0] / n, sum[1] / n, sum[2] / n);
    }
    g.labelData = vtkSmartPointer<vtkPolyData>::New();
    g.labelData->SetPoints(anchors);
    if (s.tags) {
        g.labelData->GetPointData()->AddArray(s.tags);
        g.labelData->GetPointData()->SetActiveScalars(s.tags->GetName());
    }
}

// The size of the group's longest tag in pixels, measured again only when the font or the
// resolution changed.
void LabelLayer::measure(LabelSource& s, vtkTextProperty* text, int dpi)
{
    const int fontSize = text ? text->GetFontSize() : 0;
    if (s.measuredFor[0] == fontSize && s.measuredFor[1] == dpi)
        return;
    int widest = 0;
    for (vtkIdType i = 0; s.tags && i < s.tags->GetNumberOfTuples(); ++i)
        widest = std::max(widest, int(std::to_string(s.tags->GetValue(i)).size()));
    int bbox[4] = {0, -1, 0, -1};
    vtkTextRenderer* renderer = vtkTextRenderer::GetInstance();
    if (widest > 0 && fontSize > 0 && renderer)
        renderer->GetBoundingBox(text, std::string(size_t(widest), '8'), bbox, dpi);
    s.box[0] = std::max(1, bbox[1] - bbox[0] + 1) + kMargin;
    s.box[1] = std::max(1, bbox[3] - bbox[2] + 1) + kMargin;
    s.measuredFor[0] = fontSize;
    s.measuredFor[1] = dpi;
}

void LabelLayer::setDrawn(LabelSource& s, vtkPolyData* anchors, std::vector<vtkIdType> chosen)
{
    // The same tags as before: leave the mapper's input alone, or it would render every text again.
    if (chosen == s.chosen && s.drawn->GetNumberOfPoints() == vtkIdType(chosen.size()))
        return;
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(vtkIdType(chosen.size()));
    vtkNew<vtkIntArray> tags;
    tags->SetName(s.tags ? s.tags->GetName() : "");
    tags->SetNumberOfTuples(vtkIdType(chosen.size()));
    for (size_t k = 0; k < chosen.size(); ++k) {
        points->SetPoint(vtkIdType(k), anchors->GetPoint(chosen[k]));
        tags->SetValue(vtkIdType(k), s.tags->GetValue(chosen[k]));
    }
    s.drawn->SetPoints(points);
    s.drawn->GetPointData()->Initialize();
    s.drawn->GetPointData()->SetScalars(tags);
    s.chosen = std::move(chosen);
}

// Before each render: the tags of the drawn groups that fit the view without overlapping, in
// the order of labelGroups and, within a group, in model order.
void LabelLayer::place()
{
    vtkRenderWindow* window = m_renderer->GetRenderWindow();
    // A magnified capture renders the view in tiles: it shows the labels chosen for the view.
    if (window && (window->GetTileScale()[0] > 1 || window->GetTileScale()[1] > 1))
        return;
    vtkCamera* camera = m_renderer->GetActiveCamera();
    int width = 0, height = 0, x0 = 0, y0 = 0;
    m_renderer->GetTiledSizeAndOrigin(&width, &height, &x0, &y0);
    const int dpi = window ? window->GetDPI() : 72;

    std::vector<double> key = {double(camera->GetMTime()), double(width), double(height), double(dpi)};
    double cellW = 1.0, cellH = 1.0;
    for (vtkdraw::Group g : labelGroups) {
        LabelSource& s = m_sources[g];
        if (!isDrawn(g) || !s.drawn)
            continue;
        if (!m_groups[g].labelData)
            makeAnchors(g);
        auto* mapper = vtkLabeledDataMapper::SafeDownCast(m_groups[g].labelActor->GetMapper());
        measure(s, mapper ? mapper->GetLabelTextProperty() : nullptr, dpi);
        cellW = std::max(cellW, s.box[0]);
        cellH = std::max(cellH, s.box[1]);
        key.insert(key.end(), {double(g), double(m_groups[g].labelData->GetMTime()), s.box[0], s.box[1]});
    }
    if (key == m_placedFor)
        return;
    m_placedFor = key;

    double m[16];
    vtkMatrix4x4::DeepCopy(m, camera->GetCompositeProjectionTransformMatrix(
                                  height > 0 ? double(width) / height : 1.0, -1.0, 1.0));
    Grid grid(width, height, cellW, cellH);
    m_drawn = 0;
    m_shown = 0;
    for (vtkdraw::Group g : labelGroups) {
        if (!isDrawn(g) || !m_sources[g].drawn)
            continue;
        vtkPolyData* anchors = m_groups[g].labelData;
        const vtkIdType count = anchors->GetNumberOfPoints();
        std::vector<vtkIdType> chosen;
        for (vtkIdType i = 0; i < count; ++i) {
            double p[3];
            anchors->GetPoint(i, p);
            const double w = m[12] * p[0] + m[13] * p[1] + m[14] * p[2] + m[15];
            if (w <= 0.0)
                continue;
            const double nx = (m[0] * p[0] + m[1] * p[1] + m[2] * p[2] + m[3]) / w;
            const double ny = (m[4] * p[0] + m[5] * p[1] + m[6] * p[2] + m[7]) / w;
            const double nz = (m[8] * p[0] + m[9] * p[1] + m[10] * p[2] + m[11]) / w;
            // Outside the view, or cut away by the clipping planes: no label.
            if (nx < -1.0 || nx > 1.0 || ny < -1.0 || ny > 1.0 || nz < -1.0 || nz > 1.0)
                continue;
            const Box box{(nx + 1.0) * 0.5 * width, (ny + 1.0) * 0.5 * height, m_sources[g].box[0],
                          m_sources[g].box[1]};
            if (grid.take(box))
                chosen.push_back(i);
        }
        m_shown += int(count);
        m_drawn += int(chosen.size());
        setDrawn(m_sources[g], anchors, std::move(chosen));
    }
}

void vtkdraw::startLabelPlacement()
{
    m_labels = std::make_shared<LabelLayer>(m_groups, m_renderer);
}

void vtkdraw::placeLabels()
{
    m_labels->place();
}

QString vtkdraw::labelNote() const
{
    if (!m_labels || m_labels->drawnCount() == m_labels->shownCount())
        return QString();
    return QStringLiteral("%1 of %2 labels fit the view; zoom in for the others")
        .arg(m_labels->drawnCount())
        .arg(m_labels->shownCount());
}

void vtkdraw::buildLabels(Group group, const QString& colorKey)
{
    GroupStore& g = m_groups[group];
    const ModelRecord& model = *modelRecord();
    LabelSource& s = m_labels->source(group);
    s.corners = group == FreeNodes || group == FixedNodes ? 1
                : group == Frames                         ? 2
                : group == ThreeNode                      ? 3
                : group == FourNode                       ? 4
                                                          : 8;
    s.nodePositions = g.nodePositions;
    s.x = model.nodeX;
    s.y = model.nodeY;
    s.z = model.nodeZ;
    s.tags = g.tags;
    s.drawn = vtkSmartPointer<vtkPolyData>::New();
    s.chosen.clear();
    s.measuredFor[0] = s.measuredFor[1] = -1;
    // Made when the labels are first drawn.
    g.labelData = nullptr;

    vtkNew<vtkTextProperty> text;
    text->SetFontFamilyToCourier();
    text->SetFontSize(sizeSetting(QStringLiteral("SIZEANDWIDTH/LabelSize")));
    vtkNew<vtkLabeledDataMapper> mapper;
    mapper->SetInputData(s.drawn);
    mapper->SetLabelModeToLabelScalars();
    mapper->SetLabelTextProperty(text);

    g.labelActor = vtkSmartPointer<vtkActor2D>::New();
    shareLabelActors();
    g.labelActor->SetMapper(mapper);
    const QColor c = SettingsStore::color(m_settingsPath, colorKey);
    g.labelActor->GetProperty()->SetColor(c.redF(), c.greenF(), c.blueF());
}
