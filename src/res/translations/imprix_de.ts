<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutBox</name>
    <message>
        <source>About Imprix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orvalinquestaporimex Version 2.02</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CEffectsPanel</name>
    <message>
        <source> pt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outline colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shadow colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Box colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Box opacity</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMainBar</name>
    <message>
        <source>Rel: Bottom Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rel: Bottom Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rel: Top Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rel: Top Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lndscp: Bottom Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lndscp: Bottom Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lndscp: Top Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lndscp: Top Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visible on the picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font size in points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bold Italic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anchor corner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lbl:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label drawn before the value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit drawn after the value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Op:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opacity, 0 to 255</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outline, shadow, box and automatic colour of the item&apos;s text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text effects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show all items</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nudge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take back the last change of the format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make the change taken back again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No file selected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Out file: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptionsSheet</name>
    <message>
        <source>Korvel Options</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>COptionsWorkflow</name>
    <message>
        <source>File Handling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format / Misc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aspect Ratio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global Options</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPPAspect</name>
    <message>
        <source>Enable aspect ratio changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target Aspect Ratio:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Width:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White space location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When horizontally oriented</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When vertically oriented</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White space color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right side when adding to width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left side when adding to width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add white space to:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPPBorder</name>
    <message>
        <source>Select a bitmap to use as a border.  The bitmap should be roughly the same aspect ratio and resolution as the picture. It will be stretched as necessary to match the size of the picture. The color at the center of the bitmap will be chosen as the invisible color so the picture can show through.  Choose from the borders directory or create your own with a paint program.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto rotate to match aspect ratio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Border Path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a bitmap to use as a watermark.  A new item will appear in the list of items to add to the picture. <byte value="xd"/>
Select Watermark from the list and position it on the picture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This will add a text item to the list of available items for displaying on the picture.  Type the text such as &apos;California trip&apos; and click the Add button.  On the main screen, find item in the list of items.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its own tag only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its own tag, then the other Exif dates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any date the photo has: Exif, GPS time, file name, file time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its own tag, then the file name, then the file&apos;s time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Time Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Source and Clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month and day names in the desktop&apos;s language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Date from:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Shift the clock by:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(days:hours:minutes:seconds, - for earlier)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watermark Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(0 invisible, 128 semitransparent, 255 solid)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opacity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a Label</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Label name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(Identifies the label in the list of items.)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPPGeneral</name>
    <message>
        <source>Templates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Template:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Template Path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dated copies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the photo&apos;s own JPEG data outside the imprint</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPPPaths</name>
    <message>
        <source>Template Specific Directories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output Directory:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output File Naming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prefix to add at beginning of output file name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Postfix to add at end of output file name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG Quality:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 lowest quality, most compression</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 highest quality, lowest compression</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPictureView</name>
    <message>
        <source>Open a photo with File &gt; Open (Ctrl+O),
or drop photos or a folder here.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CTemplateBar</name>
    <message>
        <source>Template:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FrameCommands</name>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open a picture file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Dated Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the imprinted image to the output file shown in the status bar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Dated Copy &amp;As ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;Template</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save T&amp;emplate As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit the application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;revious</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save and go to previous picture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save and go to next picture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Process &amp;All in Directory ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Process all remaining images using the saved template.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the toolbar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the status bar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show All &amp;Exif Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom In.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom Out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;Fit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fit in Window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom &amp;Actual Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View 4x6 area</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View 5x7 area</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View 8x10 area</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Imprix...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display program information, version number and copyright.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take back the last change of the format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make the change taken back again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PictureWorkflow</name>
    <message>
        <source>The current imprinted image has not been saved.  Would you like to save it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The format has been changed. Would you like to save the template so that it will be applied to the next image?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select image to date or a list of images.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click an item in the picture, or choose one in the list at the left, to change it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Dated Image As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dated Image (*.jpg)|*.jpg||</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProcessAllWorkflow</name>
    <message>
        <source>Directory creation failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no more images in the list to process.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dating 1 image...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TemplateWorkflow</name>
    <message>
        <source>Save Template As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Template (*.tpl)|*.tpl||</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
