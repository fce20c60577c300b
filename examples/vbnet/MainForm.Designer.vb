<Global.Microsoft.VisualBasic.CompilerServices.DesignerGenerated()> _
Partial Class MainForm
    Inherits System.Windows.Forms.Form

    Friend WithEvents lstItems As System.Windows.Forms.ListBox

    Private Sub InitializeComponent()
        Me.lstItems = New System.Windows.Forms.ListBox()
        Me.SuspendLayout()
        Me.lstItems.Location = New System.Drawing.Point(12, 12)
        Me.lstItems.Size = New System.Drawing.Size(260, 238)
        Me.Controls.Add(Me.lstItems)
        Me.Text = "库存管理"
        Me.ResumeLayout(False)
    End Sub

End Class
