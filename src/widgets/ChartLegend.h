// Chart legends whose entries stand apart, each label level with its line sample.
#pragma once

class QCPLegend;
class QFont;

/// Gives `legend` the font `font`, samples as high as a line of that font, and no overlap
/// between entries. QCustomPlot writes a label from the top of its sample and draws the
/// sample's line across the sample's middle, so the two are level only when they are equally
/// high; call this wherever a legend's font changes.
void SetLegendFont(QCPLegend* legend, const QFont& font);
