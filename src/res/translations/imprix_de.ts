<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutBox</name>
    <message>
        <source>About Imprix</source>
        <translation>Über Imprix</translation>
    </message>
    <message>
        <source>Orvalinquestaporimex Version 2.02</source>
        <translation>Orvalinquestaporimex Version 2.02</translation>
    </message>
</context>
<context>
    <name>CEffectsPanel</name>
    <message>
        <source> pt</source>
        <translation> pt</translation>
    </message>
    <message>
        <source>Outline colour</source>
        <translation>Konturfarbe</translation>
    </message>
    <message>
        <source>Shadow colour</source>
        <translation>Schattenfarbe</translation>
    </message>
    <message>
        <source>Box colour</source>
        <translation>Kastenfarbe</translation>
    </message>
    <message>
        <source>Box opacity</source>
        <translation>Deckkraft des Kastens</translation>
    </message>
</context>
<context>
    <name>CMainBar</name>
    <message>
        <source>Rel: Bottom Left</source>
        <translation>Rel.: unten links</translation>
    </message>
    <message>
        <source>Rel: Bottom Right</source>
        <translation>Rel.: unten rechts</translation>
    </message>
    <message>
        <source>Rel: Top Left</source>
        <translation>Rel.: oben links</translation>
    </message>
    <message>
        <source>Rel: Top Right</source>
        <translation>Rel.: oben rechts</translation>
    </message>
    <message>
        <source>Lndscp: Bottom Left</source>
        <translation>Quer: unten links</translation>
    </message>
    <message>
        <source>Lndscp: Bottom Right</source>
        <translation>Quer: unten rechts</translation>
    </message>
    <message>
        <source>Lndscp: Top Left</source>
        <translation>Quer: oben links</translation>
    </message>
    <message>
        <source>Lndscp: Top Right</source>
        <translation>Quer: oben rechts</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>Vis</source>
        <translation>Sichtb.</translation>
    </message>
    <message>
        <source>Visible on the picture</source>
        <translation>Auf dem Bild sichtbar</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font size in points</source>
        <translation>Schriftgröße in Punkt</translation>
    </message>
    <message>
        <source>Font style</source>
        <translation>Schriftstil</translation>
    </message>
    <message>
        <source>Bold Italic</source>
        <translation>Fett kursiv</translation>
    </message>
    <message>
        <source>Anchor corner</source>
        <translation>Ankerecke</translation>
    </message>
    <message>
        <source>Text colour</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Lbl:</source>
        <translation>Beschr.:</translation>
    </message>
    <message>
        <source>Label drawn before the value</source>
        <translation>Beschriftung vor dem Wert</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Einheit:</translation>
    </message>
    <message>
        <source>Unit drawn after the value</source>
        <translation>Einheit nach dem Wert</translation>
    </message>
    <message>
        <source>Op:</source>
        <translation>Deckk.:</translation>
    </message>
    <message>
        <source>Opacity, 0 to 255</source>
        <translation>Deckkraft, 0 bis 255</translation>
    </message>
    <message>
        <source>Effects</source>
        <translation>Effekte</translation>
    </message>
    <message>
        <source>Outline, shadow, box and automatic colour of the item&apos;s text</source>
        <translation>Kontur, Schatten, Kasten und automatische Farbe des Elementtexts</translation>
    </message>
    <message>
        <source>Text effects</source>
        <translation>Texteffekte</translation>
    </message>
    <message>
        <source>Show all</source>
        <translation>Alle anzeigen</translation>
    </message>
    <message>
        <source>Show all items</source>
        <translation>Alle Elemente anzeigen</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Template</source>
        <translation>Vorlage</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Nudge</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Undo: </source>
        <translation>Rückgängig: </translation>
    </message>
    <message>
        <source>Take back the last change of the format.</source>
        <translation>Macht die letzte Änderung am Format rückgängig.</translation>
    </message>
    <message>
        <source>Redo: </source>
        <translation>Wiederholen: </translation>
    </message>
    <message>
        <source>Make the change taken back again.</source>
        <translation>Stellt die rückgängig gemachte Änderung wieder her.</translation>
    </message>
    <message>
        <source>No file selected.</source>
        <translation>Keine Datei ausgewählt.</translation>
    </message>
    <message>
        <source>Out file: </source>
        <translation>Ausgabedatei: </translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>COptionsSheet</name>
    <message>
        <source>Korvel Options</source>
        <translation>Korvel-Optionen</translation>
    </message>
</context>
<context>
    <name>COptionsWorkflow</name>
    <message>
        <source>File Handling</source>
        <translation>Dateibehandlung</translation>
    </message>
    <message>
        <source>Format / Misc</source>
        <translation>Format / Sonstiges</translation>
    </message>
    <message>
        <source>Aspect Ratio</source>
        <translation>Seitenverhältnis</translation>
    </message>
    <message>
        <source>Global Options</source>
        <translation>Allgemeine Optionen</translation>
    </message>
</context>
<context>
    <name>CPPAspect</name>
    <message>
        <source>Enable aspect ratio changes</source>
        <translation>Änderung des Seitenverhältnisses aktivieren</translation>
    </message>
    <message>
        <source>Target Aspect Ratio:</source>
        <translation>Ziel-Seitenverhältnis:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>White space location</source>
        <translation>Position des weißen Rands</translation>
    </message>
    <message>
        <source>When horizontally oriented</source>
        <translation>Bei waagerechter Ausrichtung</translation>
    </message>
    <message>
        <source>When vertically oriented</source>
        <translation>Bei senkrechter Ausrichtung</translation>
    </message>
    <message>
        <source>White space color:</source>
        <translation>Farbe des weißen Rands:</translation>
    </message>
    <message>
        <source>Right side when adding to width</source>
        <translation>Rechts, wenn die Breite erweitert wird</translation>
    </message>
    <message>
        <source>Left side when adding to width</source>
        <translation>Links, wenn die Breite erweitert wird</translation>
    </message>
    <message>
        <source>Add white space to:</source>
        <translation>Weißen Rand anfügen an:</translation>
    </message>
</context>
<context>
    <name>CPPBorder</name>
    <message>
        <source>Select a bitmap to use as a border.  The bitmap should be roughly the same aspect ratio and resolution as the picture. It will be stretched as necessary to match the size of the picture. The color at the center of the bitmap will be chosen as the invisible color so the picture can show through.  Choose from the borders directory or create your own with a paint program.</source>
        <translation>Wählen Sie eine Bitmap als Rahmen aus.  Die Bitmap sollte ungefähr dasselbe Seitenverhältnis und dieselbe Auflösung wie das Bild haben. Sie wird bei Bedarf gestreckt, damit sie zur Größe des Bildes passt. Die Farbe in der Mitte der Bitmap wird als unsichtbare Farbe verwendet, sodass das Bild durchscheinen kann.  Wählen Sie einen Rahmen aus dem Rahmenordner oder erstellen Sie mit einem Malprogramm einen eigenen.</translation>
    </message>
    <message>
        <source>Browse ...</source>
        <translation>Durchsuchen ...</translation>
    </message>
    <message>
        <source>Auto rotate to match aspect ratio</source>
        <translation>Automatisch passend zum Seitenverhältnis drehen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Border Path:</source>
        <translation>Rahmenpfad:</translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation>Deckkraft:</translation>
    </message>
</context>
<context>
    <name>CPPFormat</name>
    <message>
        <source>Select from a drop down list of data and time formats. Or define a custom format with the following codes:

%a  Abbreviated weekday name 
%A  Full weekday name 
%b  Abbreviated month name 
%B  Full month name 
%c  Date and time representation appropriate for locale 
%d  Day of month as decimal number (01 – 31) 
%H  Hour in 24-hour format (00 – 23) 
%I  Hour in 12-hour format (01 – 12) 
%j  Day of year as decimal number (001 – 366) 
%m  Month as decimal number (01 – 12) 
%M  Minute as decimal number (00 – 59) 
%p  Current locale&apos;s A.M./P.M. indicator for 12-hour clock 
%S  Second as decimal number (00 – 59) 
%U  Week of year as decimal number, with Sunday as first day of week (00 – 53) 
</source>
        <translation>Wählen Sie ein Datums- und Uhrzeitformat aus der Dropdown-Liste aus. Oder legen Sie mit den folgenden Codes ein eigenes Format fest:

%a  Abgekürzter Wochentagsname 
%A  Vollständiger Wochentagsname 
%b  Abgekürzter Monatsname 
%B  Vollständiger Monatsname 
%c  Datums- und Uhrzeitdarstellung passend zum Gebietsschema 
%d  Tag des Monats als Dezimalzahl (01 – 31) 
%H  Stunde im 24-Stunden-Format (00 – 23) 
%I  Stunde im 12-Stunden-Format (01 – 12) 
%j  Tag des Jahres als Dezimalzahl (001 – 366) 
%m  Monat als Dezimalzahl (01 – 12) 
%M  Minute als Dezimalzahl (00 – 59) 
%p  AM/PM-Kennzeichen des aktuellen Gebietsschemas für die 12-Stunden-Uhr 
%S  Sekunde als Dezimalzahl (00 – 59) 
%U  Woche des Jahres als Dezimalzahl, mit Sonntag als erstem Wochentag (00 – 53) 
</translation>
    </message>
    <message>
        <source>Select a bitmap to use as a watermark.  A new item will appear in the list of items to add to the picture. <byte value="xd"/>
Select Watermark from the list and position it on the picture.</source>
        <translation>Wählen Sie eine Bitmap als Wasserzeichen aus.  In der Liste der Elemente, die dem Bild hinzugefügt werden können, erscheint ein neues Element. <byte value="xd"/>
Wählen Sie „Wasserzeichen“ in der Liste aus und positionieren Sie es auf dem Bild.</translation>
    </message>
    <message>
        <source>This will add a text item to the list of available items for displaying on the picture.  Type the text such as &apos;California trip&apos; and click the Add button.  On the main screen, find item in the list of items.</source>
        <translation>Damit wird der Liste der verfügbaren Elemente ein Textelement hinzugefügt, das auf dem Bild angezeigt werden kann.  Geben Sie den Text ein, etwa „Kalifornienreise“, und klicken Sie auf „Element hinzufügen“.  Im Hauptfenster finden Sie das Element dann in der Liste der Elemente.</translation>
    </message>
    <message>
        <source>Its own tag only</source>
        <translation>Nur das eigene Tag</translation>
    </message>
    <message>
        <source>Its own tag, then the other Exif dates</source>
        <translation>Das eigene Tag, dann die anderen Exif-Datumsangaben</translation>
    </message>
    <message>
        <source>Any date the photo has: Exif, GPS time, file name, file time</source>
        <translation>Jedes Datum des Fotos: Exif, GPS-Zeit, Dateiname, Dateizeit</translation>
    </message>
    <message>
        <source>Its own tag, then the file name, then the file&apos;s time</source>
        <translation>Das eigene Tag, dann der Dateiname, dann die Dateizeit</translation>
    </message>
    <message>
        <source>Date Time Format</source>
        <translation>Datums- und Uhrzeitformat</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Date Source and Clock</source>
        <translation>Datumsquelle und Uhr</translation>
    </message>
    <message>
        <source>Month and day names in the desktop&apos;s language</source>
        <translation>Monats- und Tagesnamen in der Sprache des Desktops</translation>
    </message>
    <message>
        <source>&amp;Date from:</source>
        <translation>&amp;Datum aus:</translation>
    </message>
    <message>
        <source>&amp;Shift the clock by:</source>
        <translation>&amp;Uhrzeit verschieben um:</translation>
    </message>
    <message>
        <source>(days:hours:minutes:seconds, - for earlier)</source>
        <translation>(Tage:Stunden:Minuten:Sekunden, - für früher)</translation>
    </message>
    <message>
        <source>Watermark Image</source>
        <translation>Wasserzeichenbild</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>(0 invisible, 128 semitransparent, 255 solid)</source>
        <translation>(0 unsichtbar, 128 halbtransparent, 255 deckend)</translation>
    </message>
    <message>
        <source>Path:</source>
        <translation>Pfad:</translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation>Deckkraft:</translation>
    </message>
    <message>
        <source>Add a Label</source>
        <translation>Beschriftung hinzufügen</translation>
    </message>
    <message>
        <source>Add Item</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <source>Label text:</source>
        <translation>Beschriftungstext:</translation>
    </message>
    <message>
        <source>Label name:</source>
        <translation>Name der Beschriftung:</translation>
    </message>
    <message>
        <source>(Identifies the label in the list of items.)</source>
        <translation>(Kennzeichnet die Beschriftung in der Liste der Elemente.)</translation>
    </message>
</context>
<context>
    <name>CPPGeneral</name>
    <message>
        <source>Templates</source>
        <translation>Vorlagen</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Default Template:</source>
        <translation>Standardvorlage:</translation>
    </message>
    <message>
        <source>Template Path:</source>
        <translation>Vorlagenpfad:</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Background color:</source>
        <translation>Hintergrundfarbe:</translation>
    </message>
    <message>
        <source>Dated copies</source>
        <translation>Datierte Kopien</translation>
    </message>
    <message>
        <source>Keep the photo&apos;s own JPEG data outside the imprint</source>
        <translation>Eigene JPEG-Daten des Fotos außerhalb des Aufdrucks beibehalten</translation>
    </message>
    <message>
        <source>Fit the Huffman tables to each picture (smaller, slower)</source>
        <translation>Huffman-Tabellen an jedes Bild anpassen (kleiner, langsamer)</translation>
    </message>
    <message>
        <source>Copies encoded whole keep the same pixels in a file about a fifth smaller, for a second pass over the picture.</source>
        <translation>Ganz neu kodierte Kopien behalten dieselben Pixel in einer etwa ein Fünftel kleineren Datei, um den Preis eines zweiten Durchgangs über das Bild.</translation>
    </message>
</context>
<context>
    <name>CPPPaths</name>
    <message>
        <source>Template Specific Directories</source>
        <translation>Vorlagenspezifische Ordner</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Output Directory:</source>
        <translation>Ausgabeordner:</translation>
    </message>
    <message>
        <source>Output File Naming</source>
        <translation>Benennung der Ausgabedateien</translation>
    </message>
    <message>
        <source>Prefix to add at beginning of output file name:</source>
        <translation>Präfix am Anfang des Ausgabedateinamens:</translation>
    </message>
    <message>
        <source>Postfix to add at end of output file name:</source>
        <translation>Suffix am Ende des Ausgabedateinamens:</translation>
    </message>
    <message>
        <source>Image Settings</source>
        <translation>Bildeinstellungen</translation>
    </message>
    <message>
        <source>JPEG Quality:</source>
        <translation>JPEG-Qualität:</translation>
    </message>
    <message>
        <source>0 lowest quality, most compression</source>
        <translation>0 niedrigste Qualität, stärkste Komprimierung</translation>
    </message>
    <message>
        <source>100 highest quality, lowest compression</source>
        <translation>100 höchste Qualität, geringste Komprimierung</translation>
    </message>
</context>
<context>
    <name>CPictureView</name>
    <message>
        <source>Open a photo with File &gt; Open (Ctrl+O),
or drop photos or a folder here.</source>
        <translation>Öffnen Sie ein Foto über Datei &gt; Öffnen (Strg+O)
oder ziehen Sie Fotos oder einen Ordner hierher.</translation>
    </message>
</context>
<context>
    <name>CTemplateBar</name>
    <message>
        <source>Template:</source>
        <translation>Vorlage:</translation>
    </message>
</context>
<context>
    <name>FrameCommands</name>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open a picture file.</source>
        <translation>Öffnet eine Bilddatei.</translation>
    </message>
    <message>
        <source>&amp;Save Dated Copy</source>
        <translation>Datierte Kopie &amp;speichern</translation>
    </message>
    <message>
        <source>Save the imprinted image to the output file shown in the status bar.</source>
        <translation>Speichert das Bild mit Aufdruck in der Ausgabedatei, die in der Statusleiste angezeigt wird.</translation>
    </message>
    <message>
        <source>Save Dated Copy &amp;As ...</source>
        <translation>Datierte Kopie speichern &amp;unter ...</translation>
    </message>
    <message>
        <source>&amp;Close file</source>
        <translation>Datei s&amp;chließen</translation>
    </message>
    <message>
        <source>Save &amp;Template</source>
        <translation>&amp;Vorlage speichern</translation>
    </message>
    <message>
        <source>Save T&amp;emplate As...</source>
        <translation>V&amp;orlage speichern unter...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the application.</source>
        <translation>Beendet das Programm.</translation>
    </message>
    <message>
        <source>P&amp;revious</source>
        <translation>Vor&amp;heriges Bild</translation>
    </message>
    <message>
        <source>Save and go to previous picture.</source>
        <translation>Speichert und wechselt zum vorherigen Bild.</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächstes Bild</translation>
    </message>
    <message>
        <source>Save and go to next picture.</source>
        <translation>Speichert und wechselt zum nächsten Bild.</translation>
    </message>
    <message>
        <source>Process &amp;All in Directory ...</source>
        <translation>&amp;Alle im Ordner verarbeiten ...</translation>
    </message>
    <message>
        <source>Process all remaining images using the saved template.</source>
        <translation>Verarbeitet alle übrigen Bilder mit der gespeicherten Vorlage.</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>O&amp;ptionen</translation>
    </message>
    <message>
        <source>Edit options.</source>
        <translation>Bearbeitet die Optionen.</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar.</source>
        <translation>Blendet die Werkzeugleiste ein oder aus.</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar.</source>
        <translation>Blendet die Statusleiste ein oder aus.</translation>
    </message>
    <message>
        <source>Show All &amp;Exif Items</source>
        <translation>Alle &amp;Exif-Elemente anzeigen</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom In.</source>
        <translation>Vergrößert die Ansicht.</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Zoom Out.</source>
        <translation>Verkleinert die Ansicht.</translation>
    </message>
    <message>
        <source>Zoom &amp;Fit</source>
        <translation>An &amp;Fenster anpassen</translation>
    </message>
    <message>
        <source>Fit in Window.</source>
        <translation>Passt das Bild an das Fenster an.</translation>
    </message>
    <message>
        <source>Zoom &amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <source>View 4x6 area</source>
        <translation>4x6-Bereich anzeigen</translation>
    </message>
    <message>
        <source>View 5x7 area</source>
        <translation>5x7-Bereich anzeigen</translation>
    </message>
    <message>
        <source>View 8x10 area</source>
        <translation>8x10-Bereich anzeigen</translation>
    </message>
    <message>
        <source>&amp;About Imprix...</source>
        <translation>Ü&amp;ber Imprix...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright.</source>
        <translation>Zeigt Programminformationen, Versionsnummer und Copyright an.</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Take back the last change of the format.</source>
        <translation>Macht die letzte Änderung am Format rückgängig.</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Make the change taken back again.</source>
        <translation>Stellt die rückgängig gemachte Änderung wieder her.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
</context>
<context>
    <name>PictureWorkflow</name>
    <message>
        <source>The current imprinted image has not been saved.  Would you like to save it?</source>
        <translation>Das aktuelle Bild mit Aufdruck wurde nicht gespeichert.  Möchten Sie es speichern?</translation>
    </message>
    <message>
        <source>The format has been changed. Would you like to save the template so that it will be applied to the next image?</source>
        <translation>Das Format wurde geändert. Möchten Sie die Vorlage speichern, damit sie auf das nächste Bild angewendet wird?</translation>
    </message>
    <message>
        <source>Select image to date or a list of images.</source>
        <translation>Wählen Sie ein Bild oder eine Liste von Bildern zum Datieren aus.</translation>
    </message>
    <message>
        <source>Click an item in the picture, or choose one in the list at the left, to change it.</source>
        <translation>Klicken Sie auf ein Element im Bild oder wählen Sie eines in der Liste links aus, um es zu ändern.</translation>
    </message>
    <message>
        <source>Save Dated Image As...</source>
        <translation>Datiertes Bild speichern unter...</translation>
    </message>
    <message>
        <source>Dated Image (*.jpg)|*.jpg||</source>
        <translation>Datiertes Bild (*.jpg)|*.jpg||</translation>
    </message>
</context>
<context>
    <name>ProcessAllWorkflow</name>
    <message>
        <source>Directory creation failed.</source>
        <translation>Der Ordner konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>There are no more images in the list to process.</source>
        <translation>Die Liste enthält keine weiteren Bilder zum Verarbeiten.</translation>
    </message>
    <message>
        <source>Dating 1 image...</source>
        <translation>1 Bild wird datiert...</translation>
    </message>
</context>
<context>
    <name>TemplateWorkflow</name>
    <message>
        <source>Save Template As</source>
        <translation>Vorlage speichern unter</translation>
    </message>
    <message>
        <source>Template (*.tpl)|*.tpl||</source>
        <translation>Vorlage (*.tpl)|*.tpl||</translation>
    </message>
</context>
</TS>
