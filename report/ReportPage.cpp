// The change report page (a template with inline style and script; the change files are
// embedded as JSON and drawn by the script) and the terminal summary.
#include "report/ReportPage.h"

#include "report/ChangeFiles.h"

#include <sstream>

namespace {

const char* const kPageHead = R"PAGE(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>graphmat change report</title>
<style>
body { font: 14px/1.4 system-ui, sans-serif; margin: 0 2em 3em; color: #222; background: #fafafa; }
h1 { font-size: 1.5em; margin: 0.8em 0 0.2em; }
h2 { font-size: 1.25em; margin: 1.5em 0 0.3em; border-bottom: 2px solid #ccc; }
h3 { font-size: 1.05em; margin: 0; display: inline; }
.hint, .run { color: #555; margin: 0.2em 0; }
nav a { margin-right: 1em; }
.bar { display: flex; height: 22px; border-radius: 4px; overflow: hidden; margin: 0.6em 0 0.3em; border: 1px solid #bbb; }
.seg { min-width: 3px; }
.legend a { display: inline-block; margin: 0 0.8em 0.3em 0; padding: 1px 6px; border-radius: 3px; color: #000; text-decoration: none; }
details { margin: 0.8em 0; background: #fff; border: 1px solid #ddd; border-radius: 4px; padding: 0.4em 0.6em; }
summary { cursor: pointer; }
input.filter { margin-left: 1em; padding: 2px 6px; width: 18em; }
.shown { color: #666; margin-left: 0.8em; font-size: 0.9em; }
table { border-collapse: collapse; width: 100%; margin-top: 0.4em; }
th, td { text-align: left; padding: 3px 6px; vertical-align: top; border-bottom: 1px solid #eee; }
th { background: #f0f0f0; font-weight: 600; }
td.num, th.num { text-align: right; width: 4.5em; }
td.arrow { width: 1.5em; color: #888; }
table.changes { table-layout: fixed; }
table.changes th:first-child, table.changes th:nth-child(3) { width: 34%; }
table.changes th:nth-child(2) { width: 1.8em; }
table.changes td { overflow-wrap: anywhere; }
tr.entry { cursor: pointer; }
tr.entry:hover { background: #f5f8ff; }
tr.entry.open { background: #eef3ff; }
ul.names { list-style: none; margin: 0; padding: 0; }
ul.names li.none { color: #aaa; }
ul.names li + li::before { content: "\21B3  "; color: #888; }
table.members { width: auto; margin: 0.2em 0 0.4em 1em; font-size: 0.95em; }
.mk { font-weight: 600; }
.k-unchanged { background: #e3e3e3; } .k-modified { background: #fff2a8; }
.k-renamed { background: #b9dcff; } .k-moved { background: #c9c2ff; }
.k-moved-renamed { background: #e0c2ff; } .k-split { background: #ffd2a8; }
.k-merged { background: #ffc2d9; } .k-added { background: #bff0c4; } .k-deleted { background: #ffb9b9; }
details.k-unchanged, details.k-modified, details.k-renamed, details.k-moved, details.k-moved-renamed,
details.k-split, details.k-merged, details.k-added, details.k-deleted { background: #fff; border-left-width: 6px; }
details.k-unchanged { border-left-color: #c8c8c8; } details.k-modified { border-left-color: #e8d200; }
details.k-renamed { border-left-color: #5aa9f0; } details.k-moved { border-left-color: #7d6df0; }
details.k-moved-renamed { border-left-color: #b06df0; } details.k-split { border-left-color: #f09a4a; }
details.k-merged { border-left-color: #f06d9e; } details.k-added { border-left-color: #4ac05a; }
details.k-deleted { border-left-color: #f05a5a; }
</style>
</head>
<body>
<h1>Change report</h1>
<p class="hint">What happened to each class between two versions, read off the matching.
Click a class to see its member changes. A filter box keeps the rows whose class or member names
contain its text; a link ending in <code>#filter=TEXT</code> opens the page filtered.</p>
<nav id="pairs-nav"></nav>
<main id="pairs"></main>
<script id="changes-data" type="application/json">)PAGE";

const char* const kPageScript = R"PAGE(</script>
<script>
"use strict";
const KINDS = ["unchanged", "modified", "renamed", "moved", "moved-renamed", "split", "merged", "added", "deleted"];
const MEMBER_KINDS = ["same", "changed", "moved-in", "moved-out", "added", "deleted"];
const MEMBER_HEADS = ["same", "changed", "moved in", "moved out", "added", "deleted"];
const filters = [];

function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined) e.textContent = text;
  return e;
}

function nameList(names) {
  const ul = el("ul", "names");
  if (names.length === 0) ul.appendChild(el("li", "none", "\u2014"));
  names.forEach(n => ul.appendChild(el("li", "", n)));
  const td = el("td");
  td.appendChild(ul);
  return td;
}

/// Costs as the console prints them: six significant digits.
function cost(x) { return String(Number(Number(x).toPrecision(6))); }

function runLine(doc) {
  const r = doc.run, w = r.weights;
  return "seed " + r.seed + " \u00b7 weights -d " + w.d + " -g " + w.g + " -e " + w.e + " -y " + w.y +
    " -c " + w.c + " \u00b7 matching cost " + cost(doc.costs.matching) + " (nothing matched: " +
    cost(doc.costs.noMatching) + ") \u00b7 reader mode " + r.mode + " \u00b7 " + r.start + " start";
}

function summary(doc, id) {
  const box = el("div");
  const bar = el("div", "bar");
  const legend = el("div", "legend");
  KINDS.forEach(k => {
    const n = doc.counts[k] || 0;
    if (n === 0) return;
    const seg = el("span", "seg k-" + k);
    seg.style.flexGrow = n;
    seg.title = k + ": " + n;
    bar.appendChild(seg);
    const key = el("a", "k-" + k, k + " " + n);
    key.href = "#" + id + "-" + k;
    legend.appendChild(key);
  });
  box.appendChild(bar);
  box.appendChild(legend);
  return box;
}

function memberTable(entry) {
  if (entry.memberChanges.length === 0) return el("p", "hint", "No member changes.");
  const t = el("table", "members");
  const head = el("tr");
  ["change", "before", "after", "other class"].forEach(h => head.appendChild(el("th", "", h)));
  t.appendChild(head);
  entry.memberChanges.forEach(m => {
    const tr = el("tr");
    tr.appendChild(el("td", "mk", m.kind));
    tr.appendChild(el("td", "", m.before));
    tr.appendChild(el("td", "", m.after));
    tr.appendChild(el("td", "", m.class));
    t.appendChild(tr);
  });
  return t;
}

function entryRows(entry) {
  const tr = el("tr", "entry");
  tr.appendChild(nameList(entry.before));
  const fan = entry.before.length > 1 || entry.after.length > 1;
  tr.appendChild(el("td", "arrow", fan ? "\u21c9" : "\u2192"));
  tr.appendChild(nameList(entry.after));
  MEMBER_KINDS.forEach(k => tr.appendChild(el("td", "num", String(entry.members[k]))));
  const detail = el("tr", "detail");
  detail.hidden = true;
  const td = el("td");
  td.colSpan = 3 + MEMBER_KINDS.length;
  td.appendChild(memberTable(entry));
  detail.appendChild(td);
  tr.addEventListener("click", () => {
    detail.hidden = !detail.hidden;
    tr.classList.toggle("open", !detail.hidden);
  });
  const words = entry.before.concat(entry.after);
  entry.memberChanges.forEach(m => words.push(m.before, m.after));
  return { tr: tr, detail: detail, text: words.join("\n").toLowerCase() };
}

function kindTable(doc, kind, id) {
  const entries = doc.classes.filter(e => e.kind === kind);
  const box = el("details", "kind k-" + kind);
  box.id = id + "-" + kind;
  box.open = kind !== "unchanged";
  const sum = el("summary");
  sum.appendChild(el("h3", "", kind + " (" + entries.length + ")"));
  const input = el("input", "filter");
  input.type = "search";
  input.placeholder = "filter " + kind + " classes";
  const shown = el("span", "shown");
  sum.appendChild(input);
  sum.appendChild(shown);
  box.appendChild(sum);
  const table = el("table", "changes");
  const head = el("tr");
  ["before", "", "after"].forEach(h => head.appendChild(el("th", "", h)));
  MEMBER_HEADS.forEach(h => head.appendChild(el("th", "num", h)));
  table.appendChild(head);
  const rows = entries.map(entryRows);
  rows.forEach(r => { table.appendChild(r.tr); table.appendChild(r.detail); });
  box.appendChild(table);
  const apply = () => {
    const q = input.value.trim().toLowerCase();
    let n = 0;
    rows.forEach(r => {
      const hide = q !== "" && r.text.indexOf(q) < 0;
      r.tr.hidden = hide;
      if (hide) { r.detail.hidden = true; r.tr.classList.remove("open"); } else n++;
    });
    shown.textContent = n + " of " + rows.length + " shown";
  };
  input.addEventListener("input", apply);
  input.addEventListener("click", e => e.stopPropagation());
  filters.push({ input: input, apply: apply });
  apply();
  return box;
}

function packageTable(doc) {
  const box = el("details", "packages");
  box.open = true;
  box.appendChild(el("summary", "", "packages (" + doc.packages.length + ")"));
  const t = el("table");
  const head = el("tr");
  ["change", "before", "after"].forEach(h => head.appendChild(el("th", "", h)));
  t.appendChild(head);
  doc.packages.forEach(p => {
    const tr = el("tr", "package");
    tr.appendChild(el("td", "mk", p.kind));
    tr.appendChild(el("td", "", p.before));
    tr.appendChild(el("td", "", p.after));
    t.appendChild(tr);
  });
  box.appendChild(t);
  return box;
}

function pairSection(doc, index) {
  const id = "pair" + (index + 1);
  const sec = el("section", "pair");
  sec.id = id;
  sec.appendChild(el("h2", "", doc.run.graph1 + " \u2192 " + doc.run.graph2));
  sec.appendChild(el("p", "run", runLine(doc)));
  sec.appendChild(summary(doc, id));
  if (doc.packages.length > 0) sec.appendChild(packageTable(doc));
  KINDS.forEach(k => { if ((doc.counts[k] || 0) > 0) sec.appendChild(kindTable(doc, k, id)); });
  return sec;
}

function filterFromFragment() {
  const m = /(?:^#|&)filter=([^&]*)/.exec(window.location.hash);
  if (!m) return;
  let q = m[1];
  try { q = decodeURIComponent(q.replace(/\+/g, " ")); } catch (e) { /* keep the raw text */ }
  filters.forEach(f => { f.input.value = q; f.apply(); });
}

const docs = JSON.parse(document.getElementById("changes-data").textContent);
const main = document.getElementById("pairs");
const nav = document.getElementById("pairs-nav");
docs.forEach((doc, i) => {
  main.appendChild(pairSection(doc, i));
  if (docs.length > 1) {
    const a = el("a", "", doc.run.graph1 + " \u2192 " + doc.run.graph2);
    a.href = "#pair" + (i + 1);
    nav.appendChild(a);
  }
});
filterFromFragment();
window.addEventListener("hashchange", filterFromFragment);
</script>
</body>
</html>
)PAGE";

/// Non-zero member counts as "3 same, 1 changed".
std::string memberSummary(const ClassEntry& e) {
    std::string out;
    for (int k = 0; k < kMemberChangeCount; k++) {
        const int n = e.memberCounts[static_cast<size_t>(k)];
        if (n == 0) continue;
        out += (out.empty() ? "" : ", ") + std::to_string(n) + " " +
               memberWord(static_cast<MemberChange>(k));
    }
    return out.empty() ? "no members" : out;
}

std::string names(const std::vector<std::string>& list) {
    if (list.empty()) return "-";
    std::string out;
    for (size_t i = 0; i < list.size(); i++)
        out += (i > 0 ? " + " : "") + list[i];
    return out;
}

} // namespace

std::string scriptSafeJson(const std::string& json) {
    std::string out;
    out.reserve(json.size());
    for (char c : json) {
        if (c == '<')
            out += "\\u003c";
        else if (c == '>')
            out += "\\u003e";
        else if (c == '&')
            out += "\\u0026";
        else
            out += c;
    }
    return out;
}

std::string reportPage(const std::vector<ChangeReport>& reports) {
    std::string data = "[";
    for (size_t i = 0; i < reports.size(); i++)
        data += (i > 0 ? "," : "") + changesJson(reports[i], true);
    data += "]";
    return std::string(kPageHead) + scriptSafeJson(data) + kPageScript;
}

std::string reportText(const std::vector<ChangeReport>& reports) {
    std::ostringstream out;
    for (const ChangeReport& r : reports) {
        out << r.run.graph1 << " -> " << r.run.graph2 << "  (seed " << r.run.seed
            << ", matching cost " << r.run.matchingCost << ")\n";
        const auto counts = r.classCounts();
        out << " ";
        for (int k = 0; k < kClassChangeCount; k++)
            out << " " << changeWord(static_cast<ClassChange>(k)) << " "
                << counts[static_cast<size_t>(k)];
        out << "\n";
        for (const ClassEntry& e : r.classes) {
            if (e.kind == ClassChange::Unchanged) continue;
            out << "  " << changeWord(e.kind) << ": " << names(e.before) << " -> " << names(e.after)
                << "  (" << memberSummary(e) << ")\n";
        }
        for (const PackageEntry& p : r.packages)
            out << "  package " << packageWord(p.kind) << ": "
                << (p.before.empty() ? "-" : p.before) << " -> "
                << (p.after.empty() ? "-" : p.after) << "\n";
        out << "\n";
    }
    return out.str();
}
