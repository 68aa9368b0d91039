#include "gallery_samples.h"

#include "gallery_ids.h"
#include "sample_picture.h"

#include <cstdio>

namespace gallery {

std::wstring BannerMarkup() {
    wchar_t icon[48];
    std::swprintf(icon, 48, L"<icon idres=%d style=s>", IDI_GALLERY);
    return L"<table cellpadding=4><tr><td valign=middle>" + std::wstring(icon) +
           L"</td><td valign=middle><font size=17pt color=white><b>Rich-Text Gallery</b></font>"
           L"<br><font color=#dce9f7>The label control of the Velk products: markup, tables, "
           L"images and live links.</font></td></tr></table>";
}

std::wstring TextMarkup() {
    return L"<h2>Headings and fonts</h2><br>"
           L"<b>Bold</b>, <i>italic</i>, <u>underlined</u>, <s>struck out</s> and "
           L"<font style=o>overlined</font>; <font face=\"Times New Roman\" size=4>a serif "
           L"face</font>, <code>code()</code>, <big>big</big>, <small>small</small>, "
           L"H<sub>2</sub>O and E = mc<sup>2</sup>.<br>"
           L"<font color=#c00000>Red</font>, <font color=#008000>green</font>, "
           L"<font color=steelblue>steel blue</font> and <font bkgnd=#fff2a8>highlighted</font> "
           L"words. <span class=cpp-comment>// a style-sheet class</span><br>"
           L"<hr width=100% color=#c8ced6><br>"
           L"<h4>What the update brings</h4><br>"
           L"<font color=#2e75b6>&bull;</font><t>Faster start of every product<br>"
           L"<font color=#2e75b6>&bull;</font><t>Projects of <i>earlier releases</i> open<br>"
           L"<font color=#2e75b6>&bull;</font><t>Prices in &euro; and &pound; \u2014 "
           L"<font style=bu>Velk&trade;</font>";
}

std::wstring TableMarkup() {
    return L"<h4>Tables</h4> <font color=#606060>with spans, effects and borders</font><br>"
           L"<table border=1 cellpadding=3 bordercolorlight=#b8c4d0 bordercolordark=#4a5866>"
           L"<tr><td colspan=3 align=center bgeffect=hgradient bgcolor=#1f4e79 "
           L"bgendcolor=#9dc3e6><font color=white><b>Velk Studio 2026</b></font></td></tr>"
           L"<tr><td rowspan=2 valign=middle bgcolor=#fff2cc><b>Editor</b></td>"
           L"<td>Core</td><td align=right>12.4 MB</td></tr>"
           L"<tr><td>Spelling</td><td align=right>3.1 MB</td></tr>"
           L"<tr><td bgcolor=#e2efda><b>Tools</b></td><td colspan=2 bgeffect=vgradient "
           L"bgcolor=#ffffff bgendcolor=#c6e0b4>Print, export and "
           L"<a msg=\"table: tools\">more</a></td></tr>"
           L"<tr><td bgeffect=softbump bgcolor=#d9d9d9 bgmidcolor=#f2f2f2 bgendcolor=#a6a6a6>"
           L"Bump</td><td bgeffect=metal bgcolor=#e7e6e6 bgmidcolor=#d0cece "
           L"bgendcolor=#aeaaaa>Metal</td><td borderstyle=dotted align=right>"
           L"<font color=#c00000>15.5 MB</font></td></tr>"
           L"</table>"
           L"<font color=#606060>A spanning head with a gradient, a cell over two rows, bump "
           L"and metal effects and a dotted border.</font>";
}

std::wstring ImagesMarkup(HBITMAP picture) {
    wchar_t generated[96];
    std::swprintf(generated, 96, L"<bmp handle=0x%X mask=0x%06X style=s>",
                  static_cast<unsigned>(reinterpret_cast<UINT_PTR>(picture)),
                  static_cast<unsigned>(kPictureMask));
    wchar_t resources[160];
    std::swprintf(resources, 160,
                  L"<bmp idres=%d style=s>  <icon idres=%d style=s>  <icon idres=%d style=g>  "
                  L"<bmp idres=%d width=50%% height=50%% style=d>",
                  IDB_GALLERY_HEADER, IDI_GALLERY, IDI_GALLERY, IDB_GALLERY_HEADER);
    return L"<h4>Images and shadows</h4><br><bottom>" + std::wstring(generated) + L"  " +
           resources +
           L"</bottom><br><font color=#606060>A generated picture with a mask colour, the "
           L"wizard's header bitmap and the program icon with soft shadows, a grey icon and a "
           L"darker half-size bitmap.</font>";
}

std::wstring LinksMarkup() {
    wchar_t icon[64];
    std::swprintf(icon, 64, L"<icon idres=%d width=16 height=16 hotstyle=l>", IDI_GALLERY);
    return L"<a msg=\"release notes\"><b>Release notes</b></a> \u2013 a message link: the "
           L"gallery answers it in the status line.<br>"
           L"<a href=\"http://update.velk.com/\">update.velk.com</a> \u2013 a web link, opened "
           L"in the browser.<br>"
           L"Also <a msg=\"next sample\">the next sample</a>, "
           L"<a msg=\"a link that wraps over two lines of the label\">a link that wraps over "
           L"two lines of the label</a> and a linked icon <a msg=\"icon\">" +
           std::wstring(icon) + L"</a>.";
}

std::wstring DisabledMarkup() {
    return L"<a msg=\"disabled\"><b>A disabled label</b></a> is embossed in the system's shadow "
           L"colours: its link ignores the mouse, and <font color=red>red</font> or "
           L"<font color=green>green</font> text turns grey.";
}

} // namespace gallery
